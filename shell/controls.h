// The controls a stored layout builds, under the names the window code uses,
// and the text of an edit field.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "exception.h"

using TObject = QObject;
using TEdit = QLineEdit;
using TButton = QPushButton;
using TLabel = QLabel;
using TGroupBox = QGroupBox;
using TMemo = QPlainTextEdit;
using TImage = QLabel;  // an image area that shows no picture

// An edit field's text, with the name of the field as its label and tag give
// it ("q0 (q)"), so that a conversion refusing the text can say which field
// holds it.
struct FieldText {
    String text;
    String field;
};

inline FieldText GetText(const TEdit* control) {
    String field = control->objectName();
    for (const TLabel* label : control->parentWidget()->findChildren<TLabel*>()) {
        if (label->buddy() == control) {
            field = label->text() + " (" + field + ")";
        }
    }
    return {control->text(), field};
}
