#include "keypad_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "base/text.h"
#include "dialog_kit.h"

namespace recebimento::gui {

bool AskNumber(const NumericEntry& entry, std::string& value, QWidget* parent) {
  TouchDialog dialog(Q(entry.title.empty() ? std::string("Digite o valor") : entry.title), parent);
  dialog.setObjectName(QStringLiteral("dlgTecladoNumerico"));
  for (const std::string& line : {entry.caption, entry.prompt}) {
    if (base::Trim(line).empty()) continue;
    auto* label = new QLabel(Q(line), &dialog);
    label->setWordWrap(true);
    dialog.Body()->addWidget(label);
  }
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QStringLiteral("edtValor"));
  edit->setFont(TouchFont(kTouchFontPt + 8, true));
  edit->setAlignment(Qt::AlignRight);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9]*(,[0-9]*)?$")), edit));
  if (entry.max_digits > 0) edit->setMaxLength(entry.max_digits);
  QString proposed = Q(value);
  proposed.replace(QLatin1Char('.'), QLatin1Char(','));
  int pos = 0;
  QString checked = proposed;
  if (edit->validator()->validate(checked, pos) == QValidator::Acceptable) edit->setText(proposed);
  // The first key replaces the proposed value, as on the screen's own keypad.
  edit->selectAll();
  dialog.Body()->addWidget(edit);
  dialog.Body()->addWidget(new NumericPad(edit, true, &dialog), 0, Qt::AlignHCenter);
  dialog.AddAnswer(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), QDialog::Rejected);
  dialog.AddAnswer(QStringLiteral("Confirmar"), QStringLiteral("btnOk"), QDialog::Accepted, true);
  edit->setFocus();
  if (dialog.Run() != QDialog::Accepted) return false;
  value = S(edit->text());
  return true;
}

bool AskText(const std::string& prompt, bool upper_case, int max_length, std::string& text, QWidget* parent) {
  TouchDialog dialog(Q(prompt.empty() ? std::string("Digite o texto") : prompt), parent);
  dialog.setObjectName(QStringLiteral("dlgTecladoAlfaNumerico"));
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QStringLiteral("edtTexto"));
  edit->setFont(TouchFont(kTouchFontPt + 4, true));
  edit->setMinimumWidth(600);
  if (max_length > 0) edit->setMaxLength(max_length);
  edit->setText(Q(text));
  edit->selectAll();
  edit->setProperty("lowerCase", !upper_case);
  if (upper_case)
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& t) {
      const int cursor = edit->cursorPosition();
      edit->setText(t.toUpper());
      edit->setCursorPosition(cursor);
    });
  dialog.Body()->addWidget(edit);
  dialog.Body()->addWidget(new TextPad(edit, &dialog));
  dialog.AddAnswer(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), QDialog::Rejected);
  dialog.AddAnswer(QStringLiteral("Confirmar"), QStringLiteral("btnOk"), QDialog::Accepted, true);
  edit->setFocus();
  if (dialog.Run() != QDialog::Accepted) return false;
  std::string typed = S(edit->text());
  if (upper_case) typed = base::Utf8Upper(typed);
  // The edit's limit counts UTF-16 units; the host's counts characters.
  if (max_length > 0) typed = base::Utf8Left(typed, static_cast<size_t>(max_length));
  text = typed;
  return true;
}

}  // namespace recebimento::gui
