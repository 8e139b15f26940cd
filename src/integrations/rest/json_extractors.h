#pragma once
// The frame's field readers over an integration's held result text. None parses the
// whole text: each finds a member by its name and reads the value after it, and a member
// that is not there gives an empty value, never an error. A member is matched by its
// whole quoted name followed by ":" (so "id" never matches inside "paid" or "idPedido").
#include <string>
#include <string_view>

namespace recebimento::integrations {

// AME's reader: consumes the held text. The value of the first member `Key` (passed
// without quotes) is read, and the held text is cut to start at that value, so a caller
// reads several fields in the order they stand in the response: a field that stands
// before one already read is not found any more. A string value comes without its
// quotes (escapes kept as written); another value as its literal text.
std::string retornaCampoJSONAme(std::string& stAmeResult, std::string_view Key);

// CRM Bonus's reader: consumes the held text like AME's. `Key` is passed with its quotes
// ("\"ids_bonus\""). The value keeps any quotes it has and runs up to the first "}" for
// "ids_bonus", else up to the first "," (or the first "}" when no "," follows).
std::string retornaCampoJSONCRMBONUS(std::string& stCRMBONUSResult, std::string_view Key);

// ClubPetro's reader: AME's, on a copy; the held text stays as it is, so fields may be
// read in any order and more than once.
std::string retornaCampoJSONClubPetro(const std::string& stClubPetroResult, std::string_view Key);

// Mercado Pago's reader, on a copy of the held text. Ocorrencia 0 counts as 1; an empty
// Campo with a SubCampo reads SubCampo as Campo.
//   SubCampo empty: the value of the Ocorrencia-th member Campo, in the order the members
//     stand (the last one when there are fewer).
//   SubCampo given: within the value of the first member Campo, the Ocorrencia-th object
//     (the last one when there are fewer) and the value of its member SubCampo.
// A string value comes without its quotes, a number, true, false or null as written, an
// empty object or list as ""; a text that is not JSON, or a member that is not there,
// gives "".
std::string retornaCampoJSONMp(const std::string& stMpResult, std::string_view Campo, std::string_view SubCampo,
                               int Ocorrencia);

}  // namespace recebimento::integrations
