// What the window code expects of its platform, built on Qt Widgets: the
// application object, a base form built from a stored layout, the controls,
// the base error class and text-to-number conversion.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QApplication;

using String = QString;
using TObject = QObject;
using TEdit = QLineEdit;
using TButton = QPushButton;
using TLabel = QLabel;
using TGroupBox = QGroupBox;
using TMemo = QPlainTextEdit;
using TImage = QLabel;  // an image area that shows no picture

// The base error class: every error the user is shown carries a message.
class Exception : public std::exception {
  public:
    explicit Exception(String message);
    const String& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

  private:
    String message_;
    std::string utf8_;
};

// Text to a signed 32-bit integer, or a finite real. Blanks around the number
// are ignored, a full stop is the decimal separator whatever the locale, and
// full-width digits, signs and full stop count as their ASCII twins. Anything
// else raises an Exception that quotes the text.
std::int32_t StrToInt(const String& text);
double StrToFloat(const String& text);

String GetText(const TEdit* control);

class TForm;
using TNotifyEvent = void (*)(TForm& form, TObject* sender);

// A form's method, as a handler that a layout can name.
template <class Form, void (Form::*Method)(TObject*)>
void Handler(TForm& form, TObject* sender) {
    (static_cast<Form&>(form).*Method)(sender);
}

enum class ControlKind { GroupBox, Label, Edit, Button, Memo, Image };

// One control of a stored layout. Positions are relative to the parent, in
// pixels at 96 pixels per inch.
struct ControlLayout {
    ControlKind kind;
    const char* name;
    const char* parent;  // nullptr for the form itself
    int left, top, width, height;
    int tabOrder;                        // within the parent; -1 for controls that take no focus
    const char* text;                    // caption or text, UTF-8
    const char* focusControl = nullptr;  // the edit field a label names
    bool scrollBars = false;             // a memo's two scroll bars
    TNotifyEvent onClick = nullptr;
};

struct FormLayout {
    const char* caption;
    int left, top;      // of the frame
    int width, height;  // outer size, frame and caption bar included
    std::span<const ControlLayout> controls;
};

// A top-level window whose controls are built from a stored layout. Derived
// forms bind their fields to the controls by name with Bind.
class TForm : public QWidget {
  public:
    explicit TForm(const FormLayout& layout);

  protected:
    template <class Control>
    Control* Bind(const char* name) {
        return RequireControl<Control>(findChild<Control*>(name), name);
    }

    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    QWidget* Build(const ControlLayout& control);
    void ChainTabOrder();
    void FitOuterSize();
    template <class Control>
    static Control* RequireControl(Control* control, const char* name) {
        if (control == nullptr) {
            throw Exception(QStringLiteral("The layout has no control named ") + name);
        }
        return control;
    }

    const FormLayout& layout_;
};

class TApplication {
  public:
    TApplication();
    ~TApplication();

    void Initialize();

    // Constructs the form; the first one created becomes the main window.
    template <class Form>
    void CreateForm(Form*& reference) {
        auto form = std::make_unique<Form>();
        reference = form.get();
        forms_.push_back(std::move(form));
    }

    // Shows the main window and runs the event loop until it is closed.
    void Run();

    // Shows the error's message in a modal message box.
    void ShowException(const Exception& error);

  private:
    std::unique_ptr<QApplication> qt_;
    std::vector<std::unique_ptr<TForm>> forms_;
};

extern TApplication* const Application;
