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

#include <map>

#include "Unit1.h"
#include "application.h"
#include "captured.h"

namespace {

// The window's controls as the program's description gives them, written out
// here rather than read from the product's layout, so that a slip there shows.
// `tab` is the place in the window's Tab cycle, worked out from the tab orders
// within each parent (GroupBox1's controls, then GroupBox2's); -1 for none.
struct Fact {
    const char* name;
    const char* parent;
    QRect geometry;
    int tab;
    const char* text;
};
const Fact Facts[] = {
    {"GroupBox1", "", {40, 24, 161, 337}, -1, "GroupBox1"},
    {"Label1", "GroupBox1", {16, 24, 48, 13}, -1, "螞蟻數目"},
    {"Label2", "GroupBox1", {16, 72, 72, 13}, -1, "費洛蒙蒸發率"},
    {"Label3", "GroupBox1", {16, 120, 48, 13}, -1, "行走圈數"},
    {"Label4", "GroupBox1", {16, 168, 12, 13}, -1, "q0"},
    {"NA", "GroupBox1", {16, 40, 121, 21}, 0, "30"},
    {"RH", "GroupBox1", {16, 88, 121, 21}, 1, "0.8"},
    {"MA", "GroupBox1", {16, 136, 121, 21}, 2, "30"},
    {"q", "GroupBox1", {16, 184, 121, 21}, 3, "0.5"},
    {"Button1", "GroupBox1", {16, 216, 121, 41}, 4, "START"},
    {"Button2", "GroupBox1", {16, 272, 121, 49}, 5, "CLEAR"},
    {"GroupBox2", "", {216, 24, 713, 337}, -1, "GroupBox2"},
    {"Image1", "GroupBox2", {264, 24, 425, 297}, -1, ""},
    {"Memo1", "GroupBox2", {24, 24, 225, 297}, 6, "Memo1"},
};
const QStringList DefaultTexts = {"30", "0.8", "30", "0.5"};  // NA, RH, MA, q

// Each control's text as the window opened, before any test typed.
std::map<QString, QString> TextAtStart;

QString TextOf(const QWidget* widget) {
    if (auto* box = qobject_cast<const QGroupBox*>(widget)) return box->title();
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* field = qobject_cast<const QLineEdit*>(widget)) return field->text();
    if (auto* button = qobject_cast<const QPushButton*>(widget)) return button->text();
    return qobject_cast<const QPlainTextEdit*>(widget)->toPlainText();
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
        SetFields(DefaultTexts);
    }
};

TEST_F(Window, HoldsEachControlWhereItsDescriptionPutsIt) {
    for (const Fact& fact : Facts) {
        SCOPED_TRACE(fact.name);
        const auto* widget = Form1->findChild<QWidget*>(fact.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), fact.parent);  // "": the window's own area
        EXPECT_EQ(widget->geometry(), fact.geometry);
        EXPECT_EQ(TextAtStart[fact.name], QString::fromUtf8(fact.text));
        EXPECT_EQ(widget->focusPolicy() == Qt::NoFocus, fact.tab < 0);
    }
    EXPECT_EQ(Form1->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 2);
    EXPECT_EQ(Form1->windowTitle(), "Form1");
    EXPECT_EQ(Form1->Label1->buddy(), Form1->NA);
    EXPECT_EQ(Form1->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(Form1->Image1->pixmap().isNull());
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    const QFontInfo face(Form1->Label1->font());
    EXPECT_EQ(face.pixelSize(), 11);
    EXPECT_TRUE(face.family() == "MS Sans Serif" || face.family() == "Noto Sans CJK TC")
        << face.family().toStdString();
}

// Tab runs group by group, each in its own order, and round from the memo.
TEST_F(Window, TabsThroughTheControlsInTheirOrderAndRoundFromTheMemo) {
    QStringList order, expected(7);
    for (const Fact& fact : Facts) {
        if (fact.tab >= 0) expected[fact.tab] = fact.name;
    }
    QWidget* widget = Form1->NA;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != Form1->NA);
    order.removeAll(QString());  // the memo's own viewport and scroll bars
    EXPECT_EQ(order, expected);

    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->Memo1->setFocus();
    QTest::keyClick(Form1->Memo1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form1->NA);
    EXPECT_EQ(Form1->Memo1->toPlainText(), "Memo1");
}

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

// Each field goes to its own conversion, q before MA; after an error the next
// START runs.
TEST_F(Window, RefusedFieldsShowTheFirstErrorPrintNothingAndLeaveTheWindowUsable) {
    const std::pair<QStringList, const char*> refusals[] = {
        {{"30.5", "0.8", "30", "0.5"}, "\"30.5\" is not a valid whole number"},
        {{"30", "0.8", "30.5", "0.5"}, "\"30.5\" is not a valid whole number"},
        {{"30", "0.8", "y", "1,5"}, "\"1,5\" is not a valid number"},
        {{"49", "0.8", "30", "0.5"}, "number of ants must be from 1 to 48, got 49"}};
    for (const auto& [texts, error] : refusals) {
        SetFields(texts);
        const ClickResult result = Click(Form1->Button1);
        EXPECT_EQ(result.errorsShown, QStringList(error));
        EXPECT_EQ(result.printed, "");
        EXPECT_EQ(FieldTexts(), texts);
        SetFields({"30", "0.8", "1", "0.5"});
        EXPECT_EQ(IterationValues(Click(Form1->Button1).printed).size(), 1u);
    }
}

TEST_F(Window, ClearChangesNothing) {
    Form1->Memo1->setPlainText("typed by hand");
    const ClickResult result = Click(Form1->Button2);
    EXPECT_EQ(result.printed, "");
    EXPECT_TRUE(result.errorsShown.isEmpty());
    EXPECT_EQ(FieldTexts(), DefaultTexts);
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
        for (const Fact& fact : Facts) {
            if (auto* widget = Form1->findChild<QWidget*>(fact.name))
                TextAtStart[fact.name] = TextOf(widget);
        }
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
