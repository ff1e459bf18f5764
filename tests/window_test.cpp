// The main window driven through Qt's test support, without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <ctime>
#include <utility>

#include "Unit1.h"
#include "application.h"
#include "captured.h"

namespace {

// The window's controls as the program's description gives them, written out
// here rather than read from the product's layout, so that a slip there shows.
struct Fact {
    const char* name;
    const char* parent;  // "": the window's own area
    QRect geometry;
    const char* text;
};
const Fact Facts[] = {
    {"GroupBox1", "", {40, 24, 161, 337}, "GroupBox1"},
    {"Label1", "GroupBox1", {16, 24, 48, 13}, "螞蟻數目"},
    {"Label2", "GroupBox1", {16, 72, 72, 13}, "費洛蒙蒸發率"},
    {"Label3", "GroupBox1", {16, 120, 48, 13}, "行走圈數"},
    {"Label4", "GroupBox1", {16, 168, 12, 13}, "q0"},
    {"NA", "GroupBox1", {16, 40, 121, 21}, "30"},
    {"RH", "GroupBox1", {16, 88, 121, 21}, "0.8"},
    {"MA", "GroupBox1", {16, 136, 121, 21}, "30"},
    {"q", "GroupBox1", {16, 184, 121, 21}, "0.5"},
    {"Button1", "GroupBox1", {16, 216, 121, 41}, "START"},
    {"Button2", "GroupBox1", {16, 272, 121, 49}, "CLEAR"},
    {"GroupBox2", "", {216, 24, 713, 337}, "GroupBox2"},
    {"Image1", "GroupBox2", {264, 24, 425, 297}, ""},
    {"Memo1", "GroupBox2", {24, 24, 225, 297}, "Memo1"},
};
// The Tab cycle: the tab orders within GroupBox1, then within GroupBox2.
const QStringList TabCycle = {"NA", "RH", "MA", "q", "Button1", "Button2", "Memo1"};
std::array<TEdit*, 4> Fields() {
    return {Form1->NA, Form1->RH, Form1->MA, Form1->q};
}

void SetFields(const QStringList& texts) {
    for (int i = 0; TEdit * field : Fields()) field->setText(texts[i++]);
}

// What clicking `button` prints on standard output (the C library here lets
// `stdout` be set).
std::string Click(QPushButton* button) {
    return Captured([&](std::FILE* file) {
        std::FILE* const saved = std::exchange(stdout, file);
        QTest::mouseClick(button, Qt::LeftButton);
        stdout = saved;
    });
}

// Every error box that comes up is answered, as a person would, and kept.
QStringList ErrorsShown;

// A window of its own, so that it holds the texts it opens with.
TEST(Form1, HoldsEachControlWhereItsDescriptionPutsIt) {
    const TForm1 form;
    for (const Fact& fact : Facts) {
        SCOPED_TRACE(fact.name);
        const auto* widget = form.findChild<QWidget*>(fact.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), fact.parent);
        EXPECT_EQ(widget->geometry(), fact.geometry);
        const char* text = widget->inherits("QGroupBox")        ? "title"
                           : widget->inherits("QPlainTextEdit") ? "plainText"
                                                                : "text";
        EXPECT_EQ(widget->property(text).toString(), QString::fromUtf8(fact.text));
    }
    EXPECT_EQ(form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 2);
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(form.Label1->buddy(), form.NA);
    EXPECT_EQ(form.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(form.Image1->pixmap().isNull());
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    const QFontInfo face(form.Label1->font());
    EXPECT_EQ(face.pixelSize(), 11);
    EXPECT_TRUE(face.family() == "MS Sans Serif" || face.family() == "Noto Sans CJK TC")
        << face.family().toStdString();
}

TEST(Window, TabsThroughTheControlsInTheirOrderAndRoundFromTheMemo) {
    Form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    Form1->Memo1->setFocus();
    QStringList reached;
    for (int press = 0; press < TabCycle.size(); ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(reached, TabCycle);  // Tab moves on from the memo rather than typing into it
}

// The run is seeded with the current second, so the report is the run's for
// the second before or after the click.
TEST(Window, StartPrintsTheRunsReportWithFullStopsInADecimalCommaLocale) {
    SetFields({"12", "0.3", "7", "0.9"});
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    const std::string printed = Click(Form1->Button1);
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    std::setlocale(LC_ALL, "C");
    const RunParameters typed{12, 0.3f, 7, 0.9f};
    EXPECT_TRUE(printed == Report(typed, before) || printed == Report(typed, after)) << printed;
}

// Each field goes to its own conversion, q before MA. A refused START, and
// CLEAR, print nothing and leave the window as it is; the next START runs.
TEST(Window, RefusedStartAndClearPrintNothingAndChangeNothing) {
    const std::pair<QStringList, const char*> refusals[] = {
        {{"30.5", "0.8", "30", "0.5"}, "\"30.5\" is not a valid whole number"},
        {{"30", "0.8", "30.5", "0.5"}, "\"30.5\" is not a valid whole number"},
        {{"30", "0.8", "y", "1,5"}, "\"1,5\" is not a valid number"},
        {{"49", "0.8", "30", "0.5"}, "number of ants must be from 1 to 48, got 49"}};
    for (const auto& [texts, error] : refusals) {
        ErrorsShown.clear();
        SetFields(texts);
        EXPECT_EQ(Click(Form1->Button1), "");
        EXPECT_EQ(Click(Form1->Button2), "");
        EXPECT_EQ(ErrorsShown, QStringList(error));
        for (int i = 0; const TEdit* field : Fields()) EXPECT_EQ(field->text(), texts[i++]);
        EXPECT_EQ(Form1->Memo1->toPlainText(), "Memo1");
        SetFields({"30", "0.8", "0", "0.5"});
        EXPECT_EQ(Click(Form1->Button1), StartLine);
    }
}

}  // namespace

// What Qt and fontconfig keep until exit is not ours to report.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

// Qt and the window are built once, as the program builds them, and live
// until the process exits, as in the program.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application->Initialize();
    Application->CreateForm(Form1);
    Form1->show();
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ErrorsShown << box->text();
            box->accept();
        }
    });
    answer.start(10);
    return RUN_ALL_TESTS();
}
