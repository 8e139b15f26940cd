#pragma once
// Translation of a screen's captions. The host may install a translator; without one the
// captions stay as they are (the screens are written in Portuguese).
#include <functional>
#include <map>
#include <string>

namespace recebimento::runtime {

// Control name -> caption.
using Captions = std::map<std::string, std::string>;
// Gets the control's name and its caption; returns the caption to show.
using Translator = std::function<std::string(const std::string& control, const std::string& caption)>;

// Installs the host's translator (an empty one restores the identity).
void SetTranslator(Translator translator);

// Translates every caption in place with `translator`, or with the installed one when it
// is empty. A translator that answers "" leaves the caption as it was, so a missing
// entry never blanks a button.
void Trad(Captions& captions, const Translator& translator = {});

}  // namespace recebimento::runtime
