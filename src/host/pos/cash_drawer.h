#pragma once
// The cash drawer: through the fiscal printer (Gpe00001) or through the host (Gpe00002).
#include <string>

namespace recebimento::pos {

class CashDrawer {
 public:
  virtual ~CashDrawer() = default;
  virtual bool Abre_Gaveta_Imp(const std::string& port, const std::string& stIDESQUEMA, bool wait) = 0;
  // The printer's drawer state; the caller compares it with "00".
  virtual bool Estado_Gaveta_Imp(const std::string& stIDESQUEMA, std::string& state) = 0;
  virtual bool AbreGaveta(const std::string& printer_kind, const std::string& port) = 0;
  // 1 when the drawer of the given printer is open.
  virtual int VerificaStatusGaveta(const std::string& printer_kind, const std::string& port) = 0;
};

}  // namespace recebimento::pos
