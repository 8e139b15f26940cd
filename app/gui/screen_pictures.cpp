#include "screen_pictures.h"

#include <filesystem>
#include <functional>
#include <stdexcept>

#include <QApplication>
#include <QBuffer>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "base/atomic_file.h"
#include "consumer_search_dialog.h"
#include "currency_rates_dialog.h"
#include "dialog_kit.h"
#include "discount_dialog.h"
#include "info_dialogs.h"
#include "keypad_dialogs.h"
#include "message_dialogs.h"
#include "progress_notice.h"

namespace recebimento::gui {

void WritePicture(QWidget& widget, const std::string& path) {
  const QPixmap picture = widget.grab();
  if (picture.isNull()) throw std::runtime_error("no picture of " + S(widget.objectName()));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!picture.save(&buffer, "PNG")) throw std::runtime_error("cannot encode the picture " + path);
  base::WriteFileAtomically(path, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

namespace {

// Takes the picture of the dialog `open` shows, then dismisses it.
void Picture(const std::string& file, const std::function<void()>& open, std::vector<std::string>& written) {
  std::string error;
  QTimer::singleShot(50, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) {
      error = "the dialog for " + file + " did not open";
      return;
    }
    try {
      WritePicture(*dialog, file);
      written.push_back(file);
    } catch (const std::exception& e) {
      error = e.what();
    }
    dialog->close();
  });
  open();
  if (!error.empty()) throw std::runtime_error(error);
}

}  // namespace

std::vector<std::string> WriteDialogPictures(const std::string& folder) {
  namespace fs = std::filesystem;
  fs::create_directories(folder);
  auto at = [&](const char* name) { return (fs::path(folder) / name).string(); };
  std::vector<std::string> written;
  QtMessageDialogs messages;
  Picture(
      at("dialogo-pergunta.png"),
      [&] {
        runtime::MessageRequest r;
        r.text = "Deseja utilizar a campanha Dotz nesta venda?";
        r.kind = runtime::kMsgQuestion;
        r.answer_a = "N";
        messages.Show(r);
      },
      written);
  Picture(
      at("dialogo-aviso.png"),
      [&] {
        runtime::MessageRequest r;
        r.text = "Valor acima do limite permitido para pagamento.";
        r.kind = runtime::kMsgBlocked;
        messages.Show(r);
      },
      written);
  Picture(
      at("dialogo-teclado-numerico.png"),
      [&] {
        std::string value = "123456";
        AskNumber({"NSU", "Informe o NSU da transação", "", 10}, value);
      },
      written);
  Picture(
      at("dialogo-teclado-alfanumerico.png"),
      [&] {
        std::string text;
        AskText("Código do cupom", true, 20, text);
      },
      written);
  Picture(
      at("dialogo-desconto.png"), [&] { AskDiscount("Desconto", 12990); }, written);
  Picture(
      at("dialogo-observacao.png"),
      [&] { AskObservation("Observação", "Informe a observação da Venda", "Entregar na portaria"); }, written);
  Picture(
      at("dialogo-informacoes-adicionais.png"),
      [&] {
        AskAdditionalInfo({"", "", "", ""});
      },
      written);
  Picture(
      at("dialogo-pesquisa-consumidor.png"),
      [&] {
        pos::ConsumerSearchRequest r;
        r.title = "Pesquisar consumidor";
        AskConsumer(r);
      },
      written);
  Picture(
      at("dialogo-cotacao-moedas.png"),
      [&] { AskCurrencyRates(RatesToAsk(nullptr), base::DateTime::FromYMD(2026, 12, 6)); }, written);
  return written;
}

}  // namespace recebimento::gui
