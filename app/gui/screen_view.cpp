#include "screen_view.h"

#include <set>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include "dialog_kit.h"
#include "qt_event_pump.h"
#include "screen/frame/frm_recebimento.h"
#include "screen/frame/screen_globals.h"

namespace recebimento::gui {

void ScreenTarget::Click(const std::string& name) {
  screen::ControlRegistry* r = Registry();
  // A control removed by an earlier handler is simply no longer there to press.
  if (r && r->FindComponent(name)) r->Click(name);
}

screen::ControlRegistry* OpenScreenTarget::Registry() {
  return screen::frmRecebimento ? &screen::frmRecebimento->Controls() : nullptr;
}

void OpenScreenTarget::KeyDown(int key, bool shift, bool alt, bool ctrl) {
  if (screen::frmRecebimento) screen::frmRecebimento->FormKeyDown(key, shift, alt, ctrl);
}

void OpenScreenTarget::KeyPress(char32_t ch) {
  if (screen::frmRecebimento) screen::frmRecebimento->FormKeyPress(ch);
}

bool OpenScreenTarget::Accepting() {
  return screen::frmRecebimento && screen::frmRecebimento->Showing() && !screen::frmRecebimento->Closed();
}

ScreenView::ScreenView(ScreenTarget& target, QtEventPump* pump, QWidget* parent)
    : QWidget(parent), target_(target), pump_(pump) {
  setObjectName(QStringLiteral("frmRecebimento"));
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
  setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);
  idle_ = new QLabel(QStringLiteral("Aguardando a venda..."), this);
  idle_->setObjectName(QStringLiteral("lblAguardandoVenda"));
  idle_->setAlignment(Qt::AlignCenter);
  idle_->setFont(TouchFont(20, true));
  idle_->setGeometry(rect());
  // Key preview: the screen sees every key of its window before any control does.
  qApp->installEventFilter(this);
  // Whatever a handler or a timer changed is drawn before the screen waits again.
  if (pump_) pump_->SetRefresh([this] { Sync(); });
}

ScreenView::~ScreenView() {
  qApp->removeEventFilter(this);
  if (pump_) pump_->SetRefresh(nullptr);
}

QWidget* ScreenView::WidgetFor(const std::string& name) const {
  auto it = drawn_.find(name);
  return it == drawn_.end() ? nullptr : it->second.widget.data();
}

void ScreenView::ShowIdle(bool idle) {
  idle_->setVisible(idle);
  if (idle) idle_->raise();
}

QWidget* ScreenView::Create(const std::string& name, const std::string& kind) {
  QWidget* w = nullptr;
  if (kind == "button") {
    auto* b = new ControlButton(this);
    connect(b, &QAbstractButton::clicked, this, [this, name] { Run([this, name] { target_.Click(name); }); });
    w = b;
  } else if (kind == "panel") {
    w = new ControlPanel(this);
  } else if (kind == "list") {
    auto* list = new QListWidget(this);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    w = list;
  } else if (kind == "image") {
    w = new ControlImage(this);
  } else {
    // Labels, and any kind this front-end does not know yet, show their caption.
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    w = label;
  }
  w->setObjectName(Q(name));
  w->setFocusPolicy(Qt::NoFocus);
  return w;
}

QWidget* ScreenView::ParentFor(const screen::ControlRegistry& registry, const screen::Control& c) {
  if (c.parent.empty() || c.parent == c.name) return this;
  // A parent chain that loops or names nothing puts the control on the screen itself.
  std::set<std::string> seen{c.name};
  for (const screen::Control* p = registry.FindComponent(c.parent); p;
       p = p->parent.empty() ? nullptr : registry.FindComponent(p->parent)) {
    if (!seen.insert(p->name).second) return this;
    if (p->parent.empty()) break;
  }
  auto it = drawn_.find(c.parent);
  return it != drawn_.end() && it->second.widget ? it->second.widget.data() : this;
}

void ScreenView::Apply(Drawn& d, const screen::ControlRegistry& registry, const screen::Control& c) {
  ControlLook look = LookOf(c);
  QWidget* w = d.widget;
  QWidget* parent = ParentFor(registry, c);
  const bool moved = w->parentWidget() != parent;
  if (moved) w->setParent(parent);
  if (!d.fresh && !moved && look == d.look) return;
  if (d.fresh || look.kind != d.look.kind || look.caption != d.look.caption || look.glyph != d.look.glyph ||
      look.color != d.look.color || look.font_color != d.look.font_color || look.font_size != d.look.font_size ||
      look.lines != d.look.lines || look.stretch != d.look.stretch) {
    if (auto* b = qobject_cast<ControlButton*>(w)) {
      b->SetLook(look, GlyphPixmap(look.glyph));
    } else if (auto* p = qobject_cast<ControlPanel*>(w)) {
      p->SetLook(look);
    } else if (auto* list = qobject_cast<QListWidget*>(w)) {
      ApplyListLook(*list, look);
    } else if (auto* img = qobject_cast<ControlImage*>(w)) {
      img->SetLook(look, GlyphPixmap(look.glyph));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
      ApplyLabelLook(*label, look);
    }
  }
  w->setGeometry(look.left, look.top, look.width, look.height);
  w->setEnabled(look.enabled);
  // A control without a size has not been placed yet.
  w->setVisible(look.visible && look.width > 0 && look.height > 0);
  d.look = std::move(look);
  d.fresh = false;
}

void ScreenView::Forget(const std::string& name) {
  auto it = drawn_.find(name);
  if (it == drawn_.end()) return;
  if (it->second.widget) {
    // Children of a removed panel that still exist are re-homed by the next sync.
    QWidget* w = it->second.widget.data();
    for (QWidget* child : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) child->setParent(this);
    // Later, not now: the widget may be the button whose click is being handled.
    w->hide();
    w->setParent(nullptr);
    w->deleteLater();
  }
  drawn_.erase(it);
}

void ScreenView::Sync() {
  if (syncing_) return;
  syncing_ = true;
  screen::ControlRegistry* registry = target_.Registry();
  if (!registry) {
    while (!drawn_.empty()) Forget(drawn_.begin()->first);
    ShowIdle(true);
    syncing_ = false;
    return;
  }
  ShowIdle(false);
  const std::vector<const screen::Control*> all = registry->All();
  std::set<std::string> present;
  for (const screen::Control* c : all) {
    present.insert(c->name);
    auto it = drawn_.find(c->name);
    if (it != drawn_.end() && (!it->second.widget || it->second.look.kind != c->kind)) {
      Forget(c->name);
      it = drawn_.end();
    }
    if (it == drawn_.end()) drawn_[c->name] = Drawn{Create(c->name, c->kind), {}, true};
  }
  for (auto it = drawn_.begin(); it != drawn_.end();) {
    const std::string name = it->first;
    ++it;
    if (!present.count(name)) Forget(name);
  }
  // In the registry's order: panels first hold their controls, and a control added later
  // lies over the earlier ones, as on the original form.
  for (const screen::Control* c : all) {
    Drawn& d = drawn_[c->name];
    const bool was_fresh = d.fresh;
    const QWidget* parent_before = d.widget->parentWidget();
    Apply(d, *registry, *c);
    if (was_fresh || d.widget->parentWidget() != parent_before) d.widget->raise();
  }
  syncing_ = false;
}

void ScreenView::Run(const std::function<void()>& action) {
  if (pump_) {
    pump_->Deliver(action);
  } else {
    action();
    Sync();
  }
}

void ScreenView::DeliverKey(const ScreenKey& key) {
  Run([this, key] {
    if (!target_.Accepting()) return;
    if (key.code != 0) target_.KeyDown(key.code, key.shift, key.alt, key.ctrl);
    // The character follows its key-down unless the screen closed meanwhile.
    if (key.ch != 0 && target_.Accepting()) target_.KeyPress(key.ch);
  });
}

bool ScreenView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w || w->window() != window()) return false;
  // Dialogs opened over the screen are windows of their own and keep their keys.
  if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != window()) return false;
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();  // no shortcut of a control takes a key from the screen
    return true;
  }
  DeliverKey(ScreenKeyOf(*static_cast<QKeyEvent*>(event)));
  return true;
}

}  // namespace recebimento::gui
