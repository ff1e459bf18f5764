#include "platform.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

Exception::Exception(String message)
    : message_(std::move(message)), utf8_(message_.toStdString()) {}

namespace {

// The number in `text` as ASCII, blanks around it removed and full-width
// digits, signs and full stop replaced by their ASCII twins, which Chinese
// input methods often produce. Empty when any other non-ASCII character is in
// it.
std::optional<std::string> AsciiNumber(const String& text) {
    std::string ascii;
    for (const QChar c : text.trimmed()) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            ascii += static_cast<char>(u);
        } else if ((u >= u'０' && u <= u'９') || u == u'＋' || u == u'－' || u == u'．') {
            ascii += static_cast<char>(u - (u'０' - '0'));
        } else {
            return std::nullopt;
        }
    }
    return ascii;
}

String Quoted(const String& text) {
    return u'"' + text + u'"';
}

enum class Parsed { Number, OutOfRange, NotANumber };

// Reads the whole of `text` as a Number. std::from_chars does the reading,
// locale-independent; it takes a minus sign but no plus sign.
template <typename Number>
Parsed ParseNumber(const String& text, Number& value) {
    const std::optional<std::string> number = AsciiNumber(text);
    if (!number || number->empty()) {
        return Parsed::NotANumber;
    }
    const char* first = number->data();
    const char* last = first + number->size();
    if (number->size() > 1 && number->front() == '+' && (*number)[1] != '-') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, last, value);
    if (end != last) {
        return Parsed::NotANumber;
    }
    if (error == std::errc::result_out_of_range) {
        return Parsed::OutOfRange;
    }
    return error == std::errc() ? Parsed::Number : Parsed::NotANumber;
}

}  // namespace

std::int32_t StrToInt(const String& text) {
    std::int32_t value = 0;
    switch (ParseNumber(text, value)) {
        case Parsed::Number:
            return value;
        case Parsed::OutOfRange:
            throw Exception(Quoted(text) + " is outside the range of whole numbers, " +
                            QString::number(std::numeric_limits<std::int32_t>::min()) + " to " +
                            QString::number(std::numeric_limits<std::int32_t>::max()));
        case Parsed::NotANumber:
            break;
    }
    throw Exception(Quoted(text) + " is not a valid whole number");
}

double StrToFloat(const String& text) {
    double value = 0;
    switch (ParseNumber(text, value)) {
        case Parsed::Number:
            if (!std::isfinite(value)) {
                throw Exception(Quoted(text) + " is not a finite number");
            }
            return value;
        case Parsed::OutOfRange:
            throw Exception(Quoted(text) + " is outside the range of numbers");
        case Parsed::NotANumber:
            break;
    }
    throw Exception(Quoted(text) + " is not a valid number");
}

String GetText(const TEdit* control) {
    return control->text();
}

TForm::TForm(const FormLayout& layout) : layout_(layout) {
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
            widget = memo;
            break;
        }
        case ControlKind::Image:
            widget = new QLabel(parent);
            break;
    }
    widget->setObjectName(QString::fromUtf8(control.name));
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
// only once the window system has drawn it.
void TForm::FitOuterSize() {
    const QSize frame = frameGeometry().size() - size();
    const QSize client(layout_.width - frame.width(), layout_.height - frame.height());
    if (size() != client) {
        resize(client);
    }
}

void TForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitOuterSize();
}

void TForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    FitOuterSize();
}

TApplication::TApplication() = default;

// Qt's own statics may already be gone when this runs after the entry
// function, so Qt objects still here (start-up failed before Run ended) are
// left for the process exit to reclaim rather than destroyed.
TApplication::~TApplication() {
    for (auto& form : forms_) {
        (void)form.release();
    }
    (void)qt_.release();
}

void TApplication::Initialize() {
    // The program takes no arguments; Qt gets the program name alone.
    static int argc = 1;
    static char name[] = "antcolony";
    static char* argv[] = {name, nullptr};
    qt_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/MAINICON")));
}

void TApplication::Run() {
    if (forms_.empty()) {
        return;
    }
    forms_.front()->show();
    QApplication::exec();
    // While the entry function still runs: forms first, their widgets need Qt.
    forms_.clear();
    qt_.reset();
}

void TApplication::ShowException(const Exception& error) {
    if (qt_ == nullptr) {
        std::fprintf(stderr, "%s\n", error.what());
        return;
    }
    QWidget* owner = forms_.empty() ? nullptr : forms_.front().get();
    QMessageBox::critical(owner, QApplication::applicationDisplayName(), error.Message());
}

namespace {
TApplication TheApplication;
}

TApplication* const Application = &TheApplication;
