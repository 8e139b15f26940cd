#pragma once
// One Qt widget per kind of screen control, drawn from the control's properties:
// caption, Windows colours, font size, glyph, list lines, picture.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QColor>
#include <QFrame>
#include <QPixmap>

#include "screen/frame/controls.h"

class QLabel;
class QListWidget;

namespace recebimento::gui {

// A Windows colour (0x00BBGGRR, or a system colour 0x80000000 | index) as Qt's colour;
// nothing for the control's "default" colour.
std::optional<QColor> ColorOf(int64_t windows_color);

// `text` when it reads on `back`; otherwise black or white, whichever reads better.
QColor ReadableOn(const QColor& back, const QColor& text);

// Caption fonts are given in points at the 96 dpi the screen was laid out for.
QFont ControlFont(int point_size, bool bold = false);

// Pictures by file name, kept once loaded. The names of the screen's own arrow images
// ("imgDireita", "imgEsquerda") give drawn arrows when no file is found.
QPixmap GlyphPixmap(const std::string& file_or_image);

// What a widget shows of its control; a widget is updated only when this changes.
struct ControlLook {
  std::string kind, caption, glyph, parent;
  bool visible = true, enabled = true, stretch = false;
  int left = 0, top = 0, width = 0, height = 0, font_size = 0;
  int64_t color = screen::Control::kDefaultColor, font_color = screen::Control::kDefaultColor;
  std::vector<std::string> lines;
  bool operator==(const ControlLook&) const = default;
};
ControlLook LookOf(const screen::Control& c);

// A touch button: background brush, caption in its colour and size, glyph above the
// caption (or centred when there is no caption).
class ControlButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit ControlButton(QWidget* parent = nullptr);
  void SetLook(const ControlLook& look, const QPixmap& glyph);
  QColor Background() const { return background_; }
  QColor TextColor() const { return text_color_; }
  const QPixmap& Glyph() const { return glyph_; }
  QSize sizeHint() const override { return {80, 52}; }
  // From this height on a button may carry a number tag in its top-left corner.
  static constexpr int kTaggedButtonHeight = 44;
  static constexpr int kTagBand = 14;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor background_;
  QColor text_color_;
  QPixmap glyph_;
};

// A panel: its background and, like the panels it stands for, its caption centred.
class ControlPanel : public QFrame {
  Q_OBJECT
 public:
  explicit ControlPanel(QWidget* parent = nullptr);
  void SetLook(const ControlLook& look);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  QColor text_color_;
};

// A picture: scaled into the control, filling it when the control stretches.
class ControlImage : public QWidget {
  Q_OBJECT
 public:
  explicit ControlImage(QWidget* parent = nullptr);
  void SetLook(const ControlLook& look, const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
  bool stretch_ = false;
};

// Labels and lists are plain Qt widgets dressed from the look.
void ApplyLabelLook(QLabel& label, const ControlLook& look);
void ApplyListLook(QListWidget& list, const ControlLook& look);

}  // namespace recebimento::gui
