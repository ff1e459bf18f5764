#include "form.h"

#include <QAccessibleWidget>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <string_view>
#include <vector>

#include "application.h"

namespace {

// A screen reader meets a form as a window (a frame), not as the filler that
// a plain widget is, and an image area as a graphic, not as the static text
// that the label showing it would be.
constexpr const char* ImageArea = "imageArea";
QAccessibleInterface* AccessibleControl(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->property(ImageArea).toBool()) {
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    }
    if (dynamic_cast<TForm*>(object) != nullptr) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

TForm::TForm(const FormLayout& layout) : layout_(layout) {
    [[maybe_unused]] static const bool rolesInstalled =
        (QAccessible::installFactory(AccessibleControl), true);
    setWindowTitle(QString::fromUtf8(layout.caption));
    // Where the design face is missing, a face with Traditional Chinese glyph
    // shapes; without the hint, fontconfig picks a Japanese one.
    QFont face;
    face.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Noto Sans CJK TC")});
    face.setPixelSize(11);
    setFont(face);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    setAutoFillBackground(true);

    move(layout.left, layout.top);
    resize(layout.width, layout.height);
    for (const ControlLayout& control : layout.controls) {
        Build(control);
    }
    for (const ControlLayout& control : layout.controls) {
        if (control.focusControl != nullptr) {
            Bind<QLabel>(control.name)->setBuddy(Bind<QWidget>(control.focusControl));
        }
    }
    ChainTabOrder();
}

QWidget* TForm::Build(const ControlLayout& control) {
    QWidget* parent = control.parent == nullptr ? this : Bind<QWidget>(control.parent);
    const String text = QString::fromUtf8(control.text);
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::GroupBox:
            widget = new QGroupBox(text, parent);
            break;
        case ControlKind::Label:
            widget = new QLabel(text, parent);
            break;
        case ControlKind::Edit:
            widget = new QLineEdit(text, parent);
            break;
        case ControlKind::Button: {
            auto* button = new QPushButton(text, parent);
            // Enter or Return presses a focused button, as Space does.
            button->setAutoDefault(true);
            if (control.onClick != nullptr) {
                connect(button, &QPushButton::clicked, this, [this, button, &control] {
                    // Errors must not unwind through Qt's frames: they end the
                    // handler here and are shown, and the event loop goes on.
                    try {
                        control.onClick(*this, button);
                    } catch (const Exception& error) {
                        Application->ShowException(error);
                    } catch (const std::exception& error) {
                        Application->ShowException(Exception(String::fromUtf8(error.what())));
                    } catch (...) {
                        Application->ShowException(Exception(String()));
                    }
                });
            }
            widget = button;
            break;
        }
        case ControlKind::Memo: {
            auto* memo = new QPlainTextEdit(text, parent);
            if (control.scrollBars) {
                memo->setLineWrapMode(QPlainTextEdit::NoWrap);
                memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            }
            // Tab moves on, as from every other control, rather than typing a tab.
            memo->setTabChangesFocus(true);
            widget = memo;
            break;
        }
        case ControlKind::Image:
            widget = new QLabel(parent);
            widget->setProperty(ImageArea, true);
            break;
    }
    widget->setObjectName(QString::fromUtf8(control.name));
    // A memo and an image area have no label; without a name of their own a
    // screen reader would call them by their group box's title.
    if (control.kind == ControlKind::Memo || control.kind == ControlKind::Image) {
        widget->setAccessibleName(widget->objectName());
    }
    widget->setGeometry(control.left, control.top, control.width, control.height);
    if (control.tabOrder < 0) {
        widget->setFocusPolicy(Qt::NoFocus);
    }
    return widget;
}

// Tab order counts within a parent; a group box's place orders its children.
void TForm::ChainTabOrder() {
    std::vector<QWidget*> chain;
    auto visit = [&](auto& self, const char* parent) -> void {
        std::vector<const ControlLayout*> children;
        for (const ControlLayout& control : layout_.controls) {
            const bool same = (control.parent == nullptr && parent == nullptr) ||
                              (control.parent != nullptr && parent != nullptr &&
                               std::string_view(control.parent) == parent);
            if (same && control.tabOrder >= 0) {
                children.push_back(&control);
            }
        }
        std::ranges::sort(children, {}, &ControlLayout::tabOrder);
        for (const ControlLayout* child : children) {
            QWidget* widget = Bind<QWidget>(child->name);
            if (widget->focusPolicy() & Qt::TabFocus) {
                chain.push_back(widget);
            }
            self(self, child->name);
        }
    };
    visit(visit, nullptr);
    for (std::size_t i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

// Qt sizes the client area, the layout the whole window; the frame is known
// only once a window manager has drawn it, which it has done by the time the
// window is first painted, and without a window manager there is none. The
// layout's place and size are given then, and once more should a frame
// appear later; after that, moving, resizing and maximizing are the user's.
// Whenever the window does not lie within the screen's free area (a small or
// scaled-up screen, a panel, a screen that shrinks while the window is open),
// it is moved and then shrunk onto it, so that its buttons and scroll bars
// stay in reach.
void TForm::PlaceAsDesigned() {
    framed_ = frameGeometry().size() != size();
    move(layout_.left, layout_.top);
    resize(QSize(layout_.width, layout_.height) - (frameGeometry().size() - size()));
    FitOntoScreen();
}

void TForm::FitOntoScreen() {
    // Under a scale factor Qt 6.11 scales the usable area's size but not its
    // place; kept within the screen, the area still lies within the usable one.
    const QRect available = screen()->availableGeometry() & screen()->geometry();
    QRect outer = frameGeometry();
    if (available.contains(outer)) {
        return;
    }
    const QSize frame = outer.size() - size();
    outer.setSize(outer.size().boundedTo(available.size()));
    outer.moveLeft(
        std::clamp(outer.left(), available.left(), available.right() - outer.width() + 1));
    outer.moveTop(
        std::clamp(outer.top(), available.top(), available.bottom() - outer.height() + 1));
    move(outer.topLeft());
    resize(outer.size() - frame);
}

void TForm::WatchScreen(QScreen* screen) {
    disconnect(screenWatch_);
    screenWatch_ = connect(screen, &QScreen::availableGeometryChanged, this, &TForm::FitOntoScreen);
}

void TForm::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!placed_) {
        placed_ = true;
        // Not from inside the paint.
        QMetaObject::invokeMethod(
            this,
            [this] {
                WatchScreen(screen());
                connect(windowHandle(), &QWindow::screenChanged, this, [this](QScreen* now) {
                    WatchScreen(now);
                    FitOntoScreen();
                });
                PlaceAsDesigned();
            },
            Qt::QueuedConnection);
    }
}

void TForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (placed_ && !framed_ && frameGeometry().size() != size()) {
        PlaceAsDesigned();
    }
}
