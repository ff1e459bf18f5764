// The main window driven through Qt's test support, without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <functional>

#include "Unit1.h"
#include "report.h"

namespace {

// Everything `action` writes to standard output.
std::string PrintedBy(const std::function<void()>& action) {
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    return Captured([&](std::FILE* file) {
        dup2(fileno(file), STDOUT_FILENO);
        action();
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
    });
}

struct ClickResult {
    std::string printed;
    QStringList errorsShown;
};

// Clicks `button`, answering every error box that comes up as a person would.
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
    result.printed = PrintedBy([&] { QTest::mouseClick(button, Qt::LeftButton); });
    return result;
}

QStringList FieldTexts() {
    return {Form1->NA->text(), Form1->RH->text(), Form1->MA->text(), Form1->q->text()};
}

class Window : public testing::Test {
  protected:
    void SetUp() override {
        Form1->show();
        Form1->NA->setText("30");
        Form1->RH->setText("0.8");
        Form1->MA->setText("30");
        Form1->q->setText("0.5");
    }
};

TEST_F(Window, BuildsEveryControlOfTheLayoutInItsPlace) {
    for (const ControlLayout& control : Form1Layout.controls) {
        SCOPED_TRACE(control.name);
        const auto* widget = Form1->findChild<QWidget*>(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(),
                  control.parent == nullptr ? QString() : control.parent);
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
    EXPECT_EQ(FieldTexts(), QStringList({"30", "0.8", "30", "0.5"}));
    const QFontInfo face(Form1->Label1->font());
    EXPECT_EQ(face.pixelSize(), 11);
    EXPECT_TRUE(face.family() == "MS Sans Serif" || face.family() == "Noto Sans CJK TC")
        << face.family().toStdString();
}

TEST_F(Window, TabsThroughFieldsButtonsAndMemoGroupByGroup) {
    QStringList order;
    QWidget* widget = Form1->NA;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != Form1->NA);
    order.removeAll(QString());  // the memo's own viewport and scroll bars
    EXPECT_EQ(order, QStringList({"NA", "RH", "MA", "q", "Button1", "Button2", "Memo1"}));
}

TEST_F(Window, StartWithTheDefaultTextsPrintsACompleteReport) {
    const ClickResult result = Click(Form1->Button1);
    EXPECT_TRUE(result.errorsShown.isEmpty());
    EXPECT_EQ(IterationValues(result.printed).size(), 30u);
}

struct BadField {
    QLineEdit* TForm1::*field;
    const char* text;
    const char* error;
};

void PrintTo(const BadField& bad, std::ostream* out) {
    *out << '"' << bad.text << '"';
}

class RefusedField : public Window, public testing::WithParamInterface<BadField> {};

TEST_P(RefusedField, ShowsItsErrorPrintsNothingAndLeavesTheWindowUsable) {
    const auto [field, text, error] = GetParam();
    (Form1->*field)->setText(QString::fromUtf8(text));
    const QStringList typed = FieldTexts();
    const ClickResult result = Click(Form1->Button1);
    EXPECT_EQ(result.errorsShown, QStringList(QString::fromUtf8(error)));
    EXPECT_EQ(result.printed, "");
    EXPECT_EQ(FieldTexts(), typed);

    SetUp();
    Form1->MA->setText("1");
    EXPECT_EQ(IterationValues(Click(Form1->Button1).printed).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedField,
    testing::Values(BadField{&TForm1::NA, "", "\"\" is not a valid whole number"},
                    BadField{&TForm1::NA, "30.5", "\"30.5\" is not a valid whole number"},
                    BadField{&TForm1::RH, "abc", "\"abc\" is not a valid number"},
                    BadField{&TForm1::q, "1,5", "\"1,5\" is not a valid number"},
                    BadField{&TForm1::MA, "30.5", "\"30.5\" is not a valid whole number"},
                    BadField{&TForm1::NA, "49", "number of ants must be from 1 to 48, got 49"},
                    BadField{&TForm1::RH, "1.5", "evaporation rate must be from 0 to 1, got 1.5"}));

TEST_F(Window, ConvertsQBeforeMa) {
    Form1->q->setText("x");
    Form1->MA->setText("y");
    EXPECT_EQ(Click(Form1->Button1).errorsShown, QStringList("\"x\" is not a valid number"));
}

TEST_F(Window, ClearChangesNothing) {
    Form1->Memo1->setPlainText("typed by hand");
    const ClickResult result = Click(Form1->Button2);
    EXPECT_EQ(result.printed, "");
    EXPECT_TRUE(result.errorsShown.isEmpty());
    EXPECT_EQ(FieldTexts(), QStringList({"30", "0.8", "30", "0.5"}));
    EXPECT_EQ(Form1->Memo1->toPlainText(), "typed by hand");
}

TEST_F(Window, TwoStartsPrintTwoReportsTheSecondContinuingTheLastLine) {
    Form1->MA->setText("2");
    const std::string first = Click(Form1->Button1).printed;
    const std::string second = Click(Form1->Button1).printed;
    EXPECT_EQ(IterationValues(first).size(), 2u);
    EXPECT_EQ(IterationValues(second).size(), 2u);
    EXPECT_EQ(first.find("Tao0"), 0u);  // the second report starts where the first stopped
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
