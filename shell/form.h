// Top-level windows built from a stored layout: the controls, their places,
// texts and tab order, and the click handlers the layout names.
#pragma once

#include <QWidget>

#include <span>

#include "controls.h"

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

    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    QWidget* Build(const ControlLayout& control);
    void ChainTabOrder();
    void PlaceAsDesigned();
    void FitOntoScreen();
    void WatchScreen(QScreen* screen);
    template <class Control>
    static Control* RequireControl(Control* control, const char* name) {
        if (control == nullptr) {
            throw Exception(QStringLiteral("The layout has no control named ") + name);
        }
        return control;
    }

    const FormLayout& layout_;
    bool placed_ = false;
    bool framed_ = false;
    QMetaObject::Connection screenWatch_;
};
