// The main window driven through Qt's test support, without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <clocale>
#include <ctime>

#include <string_view>

#include "Unit1.h"
#include "application.h"
#include "captured.h"

namespace {

// The texts the layout gives NA, RH, MA and q.
QStringList Defaults() {
    QStringList texts;
    for (const char* name : {"NA", "RH", "MA", "q"}) {
        for (const ControlLayout& control : Form1Layout.controls) {
            if (std::string_view(control.name) == name) texts << QString::fromUtf8(control.text);
        }
    }
    return texts;
}

QStringList FieldTexts() {
    return {Form1->NA->text(), Form1->RH->text(), Form1->MA->text(), Form1->q->text()};
}

void SetFields(const QStringList& texts) {
    for (int i = 0; TEdit * field : {Form1->NA, Form1->RH, Form1->MA, Form1->q}) {
        field->setText(texts[i++]);
    }
}

struct ClickResult {
    std::string printed;
    QStringList errorsShown;
};

// Clicks `button` and answers every error box that comes up, as a person
// would; keeps what went to standard output meanwhile.
ClickResult Click(QPushButton* button) {
    ClickResult result;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            result.errorsShown << box->text();
            box->accept();
        }
    });
    answer.start(10);
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    result.printed = Captured([&](std::FILE* file) {
        dup2(fileno(file), STDOUT_FILENO);
        QTest::mouseClick(button, Qt::LeftButton);
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
    });
    close(saved);
    return result;
}

class Window : public testing::Test {
  protected:
    void SetUp() override {
        Form1->show();
        SetFields(Defaults());
    }
};

TEST_F(Window, BuildsEveryControlOfTheLayoutInItsPlace) {
    for (const ControlLayout& control : Form1Layout.controls) {
        SCOPED_TRACE(control.name);
        const auto* widget = Form1->findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), control.parent ? control.parent : "");
        EXPECT_EQ(widget->geometry(),
                  QRect(control.left, control.top, control.width, control.height));
        if (control.tabOrder < 0) {
            EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
        }
    }
    EXPECT_EQ(Form1->windowTitle(), "Form1");
    EXPECT_EQ(Form1->Label1->text(), "螞蟻數目");
    EXPECT_EQ(Form1->Label1->buddy(), Form1->NA);
    EXPECT_EQ(Form1->Memo1->toPlainText(), "Memo1");
    EXPECT_EQ(Form1->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(Form1->Image1->pixmap().isNull());
    EXPECT_EQ(FieldTexts(), Defaults());
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    const QFontInfo face(Form1->Label1->font());
    EXPECT_EQ(face.pixelSize(), 11);
    EXPECT_TRUE(face.family() == "MS Sans Serif" || face.family() == "Noto Sans CJK TC")
        << face.family().toStdString();
}

TEST_F(Window, TabsThroughFieldsButtonsAndMemoGroupByGroup) {
    QStringList order;
    QWidget* widget = Form1->NA;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != Form1->NA);
    order.removeAll(QString());  // the memo's own viewport and scroll bars
    EXPECT_EQ(order, QStringList({"NA", "RH", "MA", "q", "Button1", "Button2", "Memo1"}));

    // From the memo, Tab goes round to the first field instead of typing a tab.
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->Memo1->setFocus();
    QTest::keyClick(Form1->Memo1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form1->NA);
    EXPECT_EQ(Form1->Memo1->toPlainText(), "Memo1");
}

TEST_F(Window, EachStartPrintsACompleteReport) {
    ClickResult first = Click(Form1->Button1);
    EXPECT_TRUE(first.errorsShown.isEmpty());
    EXPECT_EQ(IterationValues(first.printed).size(), 30u);
    Form1->MA->setText("2");
    EXPECT_EQ(IterationValues(Click(Form1->Button1).printed).size(), 2u);
}

// The run is seeded with the current second, so the click's report is the
// run's for the typed parameters and the second before or after the click.
TEST_F(Window, StartPrintsTheRunsReportWithFullStopsInADecimalCommaLocale) {
    SetFields({"12", "0.3", "7", "0.9"});
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    const ClickResult result = Click(Form1->Button1);
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    std::setlocale(LC_ALL, "C");
    const RunParameters typed{12, 0.3f, 7, 0.9f};
    EXPECT_TRUE(result.printed == Report(typed, before) || result.printed == Report(typed, after))
        << result.printed;
    EXPECT_EQ(result.printed.substr(0, StartLine.size()), StartLine);
}

struct BadFields {
    QStringList texts;  // NA, RH, MA, q
    const char* error;
};

void PrintTo(const BadFields& bad, std::ostream* out) {
    *out << bad.texts.join(" ").toStdString();
}

class RefusedFields : public Window, public testing::WithParamInterface<BadFields> {};

TEST_P(RefusedFields, ShowTheFirstErrorPrintNothingAndLeaveTheWindowUsable) {
    SetFields(GetParam().texts);
    const ClickResult result = Click(Form1->Button1);
    EXPECT_EQ(result.errorsShown, QStringList(QString::fromUtf8(GetParam().error)));
    EXPECT_EQ(result.printed, "");
    EXPECT_EQ(FieldTexts(), GetParam().texts);

    SetFields({"30", "0.8", "1", "0.5"});
    EXPECT_EQ(IterationValues(Click(Form1->Button1).printed).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedFields,
    testing::Values(BadFields{{"", "0.8", "30", "0.5"}, "\"\" is not a valid whole number"},
                    BadFields{{"30.5", "0.8", "30", "0.5"}, "\"30.5\" is not a valid whole number"},
                    BadFields{{"30", "abc", "30", "0.5"}, "\"abc\" is not a valid number"},
                    BadFields{{"30", "0.8", "30.5", "0.5"}, "\"30.5\" is not a valid whole number"},
                    // q is converted before MA
                    BadFields{{"30", "0.8", "y", "1,5"}, "\"1,5\" is not a valid number"},
                    BadFields{{"49", "0.8", "30", "0.5"},
                              "number of ants must be from 1 to 48, got 49"}));

TEST_F(Window, ClearChangesNothing) {
    Form1->Memo1->setPlainText("typed by hand");
    const ClickResult result = Click(Form1->Button2);
    EXPECT_EQ(result.printed, "");
    EXPECT_TRUE(result.errorsShown.isEmpty());
    EXPECT_EQ(FieldTexts(), Defaults());
    EXPECT_EQ(Form1->Memo1->toPlainText(), "typed by hand");
}

}  // namespace

// Qt and the window are built once, as the program builds them, and live
// until the process exits, as in the program.
class ProgramStart : public testing::Environment {
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        Application->Initialize();
        Application->CreateForm(Form1);
    }
};

// What Qt and fontconfig keep until exit is not ours to report.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new ProgramStart);
    return RUN_ALL_TESTS();
}
