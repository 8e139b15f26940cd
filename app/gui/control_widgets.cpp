#include "control_widgets.h"

#include <cmath>
#include <filesystem>
#include <map>

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include "dialog_kit.h"

namespace recebimento::gui {

std::optional<QColor> ColorOf(int64_t c) {
  if (c < 0) return std::nullopt;
  if (c & 0x80000000LL) {
    // System colours: the few a form of this kind uses, with the look of a plain desktop.
    switch (c & 0xFF) {
      case 5: return QColor(0xFF, 0xFF, 0xFF);   // window
      case 8: return QColor(0, 0, 0);            // window text
      case 13: return QColor(0x00, 0x78, 0xD7);  // highlight
      case 14: return QColor(0xFF, 0xFF, 0xFF);  // highlighted text
      case 18: return QColor(0, 0, 0);           // button text
      default: return QColor(0xF0, 0xF0, 0xF0);  // button face and the rest
    }
  }
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

QFont ControlFont(int point_size, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(std::max(6, static_cast<int>(std::lround((point_size > 0 ? point_size : 9) * 96.0 / 72.0))));
  f.setBold(bold);
  return f;
}

namespace {

QPixmap Arrow(bool right) {
  QPixmap p(40, 40);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setBrush(QColor(0x20, 0x20, 0x20));
  g.setPen(Qt::NoPen);
  QPolygonF tri = right ? QPolygonF({QPointF(10, 6), QPointF(34, 20), QPointF(10, 34)})
                        : QPolygonF({QPointF(30, 6), QPointF(6, 20), QPointF(30, 34)});
  g.drawPolygon(tri);
  return p;
}

// WCAG contrast ratio of two colours (1 to 21).
double Contrast(const QColor& a, const QColor& b) {
  auto luminance = [](const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The largest font not above `font` whose text fits `area`: word-wrapped in the whole
// area, or on one line in its width. Never below a size that stays readable.
QFont FittingFont(QFont font, const QString& text, const QSize& area, bool wrap) {
  constexpr int kSmallestPx = 9;
  while (font.pixelSize() > kSmallestPx) {
    const QFontMetrics m(font);
    const QRect needed = wrap ? m.boundingRect(QRect(QPoint(0, 0), area), Qt::TextWordWrap, text)
                              : QRect(0, 0, m.horizontalAdvance(text), m.height());
    if (needed.width() <= area.width() && (!wrap || needed.height() <= area.height())) break;
    font.setPixelSize(font.pixelSize() - 1);
  }
  return font;
}

}  // namespace

QColor ReadableOn(const QColor& back, const QColor& text) {
  if (Contrast(back, text) >= 3.0) return text;
  const QColor black(0, 0, 0), white(255, 255, 255);
  return Contrast(back, black) >= Contrast(back, white) ? black : white;
}

QPixmap GlyphPixmap(const std::string& name) {
  if (name.empty()) return {};
  static std::map<std::string, QPixmap> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  QPixmap p;
  std::error_code ec;
  if (std::filesystem::is_regular_file(name, ec)) p.load(Q(name));
  if (p.isNull() && name == screen::kBuiltinArrowRight) p = Arrow(true);
  if (p.isNull() && name == screen::kBuiltinArrowLeft) p = Arrow(false);
  // A file that is not there yet may appear later: only found pictures are kept.
  if (!p.isNull()) cache[name] = p;
  return p;
}

ControlLook LookOf(const screen::Control& c) {
  ControlLook l;
  l.kind = c.kind;
  l.caption = c.caption;
  l.glyph = c.glyph;
  l.parent = c.parent;
  l.visible = c.visible;
  l.enabled = c.enabled;
  l.stretch = c.stretch;
  l.left = c.left;
  l.top = c.top;
  l.width = c.width;
  l.height = c.height;
  l.font_size = c.font_size;
  l.color = c.color;
  l.font_color = c.font_color;
  if (c.kind == "list") l.lines = c.lines;
  return l;
}

ControlButton::ControlButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_AcceptTouchEvents);
}

void ControlButton::SetLook(const ControlLook& look, const QPixmap& glyph) {
  setText(Q(look.caption));
  setFont(ControlFont(look.font_size, true));
  background_ = ColorOf(look.color).value_or(QColor(0xD9, 0xDD, 0xE2));
  text_color_ = ColorOf(look.font_color).value_or(QColor(0, 0, 0));
  glyph_ = glyph;
  update();
}

void ControlButton::paintEvent(QPaintEvent*) {
  QPainter g(this);
  g.setRenderHint(QPainter::Antialiasing);
  QColor fill = background_;
  if (isDown()) fill = fill.darker(130);
  const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
  QPainterPath path;
  path.addRoundedRect(box, 6, 6);
  g.fillPath(path, fill);
  g.setPen(QPen(fill.darker(isDown() ? 170 : 140), 1.2));
  g.drawPath(path);

  QRect area = rect().adjusted(4, 3, -4, -3);
  if (!glyph_.isNull()) {
    const bool alone = text().isEmpty();
    const QSize room = alone ? area.size() : QSize(area.width(), area.height() / 2);
    const QPixmap shown = glyph_.width() > room.width() || glyph_.height() > room.height()
                              ? glyph_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              : glyph_;
    const QPoint at(area.left() + (area.width() - shown.width()) / 2,
                    alone ? area.top() + (area.height() - shown.height()) / 2 : area.top());
    g.drawPixmap(at, shown);
    if (!alone) area.setTop(at.y() + shown.height());
  }
  if (!text().isEmpty()) {
    // Tall buttons keep a band free at the top (and, to stay centred, at the bottom):
    // the grid puts the button's number in its top-left corner.
    if (glyph_.isNull() && height() >= kTaggedButtonHeight) area.adjust(0, kTagBand - 3, 0, -(kTagBand - 3));
    g.setFont(FittingFont(font(), text(), area.size(), true));
    g.setPen(text_color_);
    g.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text());
  }
  // Disabled: the whole button fades evenly, so its caption stays as readable as its colours allow.
  if (!isEnabled()) g.fillPath(path, QColor(255, 255, 255, 120));
}

ControlPanel::ControlPanel(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
}

void ControlPanel::SetLook(const ControlLook& look) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ColorOf(look.color).value_or(QColor(0xF0, 0xF0, 0xF0)));
  setPalette(pal);
  caption_ = Q(look.caption);
  text_color_ = ColorOf(look.font_color).value_or(QColor(0, 0, 0));
  setFont(ControlFont(look.font_size, true));
  update();
}

void ControlPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (caption_.isEmpty()) return;
  QPainter g(this);
  g.setFont(font());
  g.setPen(text_color_);
  g.drawText(rect().adjusted(6, 4, -6, -4), Qt::AlignCenter | Qt::TextWordWrap, caption_);
}

ControlImage::ControlImage(QWidget* parent) : QWidget(parent) {}

void ControlImage::SetLook(const ControlLook& look, const QPixmap& picture) {
  picture_ = picture;
  stretch_ = look.stretch;
  update();
}

void ControlImage::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter g(this);
  g.setRenderHint(QPainter::SmoothPixmapTransform);
  if (stretch_) {
    g.drawPixmap(rect(), picture_);
    return;
  }
  const QPixmap shown = picture_.width() > width() || picture_.height() > height()
                            ? picture_.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                            : picture_;
  g.drawPixmap((width() - shown.width()) / 2, (height() - shown.height()) / 2, shown);
}

void ApplyLabelLook(QLabel& label, const ControlLook& look) {
  const QString caption = Q(look.caption);
  label.setText(caption);
  const bool several_lines = caption.contains(QLatin1Char('\n'));
  const std::optional<QColor> back = ColorOf(look.color);
  // A bar of colour keeps its caption off the edge.
  const int indent = back && look.width >= 100 ? 6 : 0;
  label.setIndent(indent);
  // A caption is never cut: it takes a smaller font when its place is too narrow.
  const QFont wanted = ControlFont(look.font_size, look.font_size >= 12);
  label.setToolTip(QString());
  if (several_lines || look.width <= 0) {
    label.setFont(wanted);
  } else {
    const int room = look.width - indent;
    const QFont fitting = FittingFont(wanted, caption, QSize(room, look.height), false);
    if (QFontMetrics(fitting).horizontalAdvance(caption) <= room) {
      label.setFont(fitting);
    } else {
      // Too narrow even for the smallest readable size: cut with an ellipsis at the
      // wanted size rather than shrink it into a smudge.
      label.setFont(wanted);
      label.setText(QFontMetrics(wanted).elidedText(caption, Qt::ElideRight, room));
      label.setToolTip(caption);
    }
  }
  // Several lines read from the top, as on the form; one line sits in the middle.
  label.setAlignment(several_lines ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
  QPalette pal = label.palette();
  label.setAutoFillBackground(back.has_value());
  if (back) pal.setColor(QPalette::Window, *back);
  const QColor text = ColorOf(look.font_color).value_or(QColor(0, 0, 0));
  pal.setColor(QPalette::WindowText, back ? ReadableOn(*back, text) : text);
  label.setPalette(pal);
}

void ApplyListLook(QListWidget& list, const ControlLook& look) {
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setStyleHint(QFont::Monospace);
  mono.setPixelSize(
      std::max(8, static_cast<int>(std::lround((look.font_size > 0 ? look.font_size : 10) * 96.0 / 72.0))));
  list.setFont(mono);
  list.clear();
  for (const std::string& line : look.lines) list.addItem(Q(line));
  list.scrollToBottom();
}

}  // namespace recebimento::gui
