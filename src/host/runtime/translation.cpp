#include "host/runtime/translation.h"

namespace recebimento::runtime {

namespace {

Translator& Installed() {
  static Translator translator;
  return translator;
}

}  // namespace

void SetTranslator(Translator translator) { Installed() = std::move(translator); }

void Trad(Captions& captions, const Translator& translator) {
  const Translator& use = translator ? translator : Installed();
  if (!use) return;
  for (auto& [control, caption] : captions) {
    std::string translated = use(control, caption);
    if (!translated.empty()) caption = std::move(translated);
  }
}

}  // namespace recebimento::runtime
