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

inline String GetText(const TEdit* control) {
    return control->text();
}
