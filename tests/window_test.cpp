// The main window driven through Qt's test support, without a display.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <ctime>
#include <tuple>
#include <utility>

#include "Unit1.h"
#include "application.h"
#include "captured.h"
#include "oracle.h"

namespace {

// The window's controls as described, not read from the product's layout.
struct Fact {  // parent "": the window's area; spoken: a screen reader's name, else text
    const char *name, *parent;
    QRect geometry;
    const char *text, *spoken = nullptr;
};
const Fact Facts[] = {
    {"GroupBox1", "", {40, 24, 161, 337}, "GroupBox1"},
    {"Label1", "GroupBox1", {16, 24, 48, 13}, "螞蟻數目"},
    {"Label2", "GroupBox1", {16, 72, 72, 13}, "費洛蒙蒸發率"},
    {"Label3", "GroupBox1", {16, 120, 48, 13}, "行走圈數"},
    {"Label4", "GroupBox1", {16, 168, 12, 13}, "q0"},
    {"NA", "GroupBox1", {16, 40, 121, 21}, "30", "螞蟻數目"},
    {"RH", "GroupBox1", {16, 88, 121, 21}, "0.8", "費洛蒙蒸發率"},
    {"MA", "GroupBox1", {16, 136, 121, 21}, "30", "行走圈數"},
    {"q", "GroupBox1", {16, 184, 121, 21}, "0.5", "q0"},
    {"Button1", "GroupBox1", {16, 216, 121, 41}, "START"},
    {"Button2", "GroupBox1", {16, 272, 121, 49}, "CLEAR"},
    {"GroupBox2", "", {216, 24, 713, 337}, "GroupBox2"},
    {"Image1", "GroupBox2", {264, 24, 425, 297}, "", "Image1"},
    {"Memo1", "GroupBox2", {24, 24, 225, 297}, "Memo1", "Memo1"},
};
std::array<TEdit*, 4> Fields() { return {Form1->NA, Form1->RH, Form1->MA, Form1->q}; }
void SetFields(const QStringList& texts) {
    for (int i = 0; TEdit * field : Fields()) field->setText(texts[i++]);
}

// What clicking `button`, or pressing `key` on it, prints on standard output
// (glibc lets `stdout` be set).
std::string Click(QPushButton* button, Qt::Key key = Qt::Key_unknown) {
    return Captured([&](std::FILE* file) {
        std::FILE* const saved = std::exchange(stdout, file);
        key == Qt::Key_unknown ? QTest::mouseClick(button, Qt::LeftButton)
                               : (button->setFocus(), QTest::keyClick(button, key));
        stdout = saved;
    });
}

std::vector<std::string> ErrorsShown;  // every error box, answered as a person would
// A window of its own, so that it holds the texts it opens with.
TEST(Form1, HoldsEachControlWhereItsDescriptionPutsIt) {
    const TForm1 form;
    for (const Fact& fact : Facts) {
        SCOPED_TRACE(fact.name);
        auto* widget = form.findChild<QWidget*>(fact.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), fact.parent);
        EXPECT_EQ(widget->geometry(), fact.geometry);
        const char* text = widget->inherits("QGroupBox") ? "title" : "text";
        EXPECT_EQ(widget->property(widget == form.Memo1 ? "plainText" : text).toString(),
                  fact.text);
        const QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget);
        EXPECT_EQ(spoken->text(QAccessible::Name).toStdString(),
                  fact.spoken ? fact.spoken : fact.text);
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.Image1)->role(), QAccessible::Graphic);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(Form1)->role(), QAccessible::Window);
    EXPECT_EQ(form.windowTitle(), "Form1");
    EXPECT_EQ(QApplication::windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    // Tab: the tab orders within GroupBox1, then within GroupBox2, round to the
    // first, and on from the memo rather than typing into it.
    QStringList tabs;
    for (QWidget* at = form.NA; tabs.size() < 8; at = at->nextInFocusChain()) {
        if (at->focusPolicy() & Qt::TabFocus) tabs << at->objectName();
    }
    EXPECT_EQ(tabs.join(' ').toStdString(), "NA RH MA q Button1 Button2 Memo1 NA");
    EXPECT_TRUE(form.Memo1->tabChangesFocus());
    const QFontInfo face(form.Label1->font());
    EXPECT_EQ(face.pixelSize(), 11);
    EXPECT_TRUE(face.family() == "MS Sans Serif" || face.family() == "Noto Sans CJK TC")
        << face.family().toStdString();
}

// Each START is a fresh run of what the fields hold, whatever ran before. The
// run is seeded with the current second, so the report is a fresh run's for
// the second before or after the click. Enter or Return on a focused START
// presses it too.
TEST(Window, StartPrintsAFreshRunsReportEachTimeWithFullStopsInADecimalCommaLocale) {
    const std::tuple<QStringList, RunParameters, Qt::Key> settings[] = {
        {{"12", "0.3", "7", "0.5"}, {12, 0.3f, 7, 0.5f}, Qt::Key_unknown},
        {{"12", "0.3", "7", "1.5"}, {12, 0.3f, 7, 1.5f}, Qt::Key_Return},
        {{"3", "0.3", "7", "0.5"}, {3, 0.3f, 7, 0.5f}, Qt::Key_Enter}};
    for (const auto& [texts, parameters, key] : settings) {
        const RunParameters typed = parameters;  // a lambda captures no binding, for clang 14
        SetFields(texts);
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
        const auto before = static_cast<std::uint32_t>(std::time(nullptr));
        const std::string printed = Click(Form1->Button1, key);
        std::setlocale(LC_ALL, "C");
        std::vector<std::string> fresh;
        for (auto seed = before; seed <= std::time(nullptr); ++seed)
            fresh.push_back(Captured([&](std::FILE* f) { oracle::RunColony(typed, seed, f); }));
        EXPECT_NE(std::ranges::find(fresh, printed), fresh.end()) << printed;
    }
}

// The fields are converted in the order NA, RH, q, MA, the first refused
// named; then the run refuses ants outside 1..48 (unless no iteration runs)
// and rates outside 0..1, beyond every float too. A refused START, and CLEAR,
// print nothing and change nothing.
TEST(Window, RefusedStartAndClearPrintNothingAndChangeNothing) {
    const std::pair<QStringList, std::string> refusals[] = {
        {{"30.5", "x", "30", "0.5"},
         "螞蟻數目 (NA): \"\u206830.5\u2069\" is not a valid whole number"},
        {{"30", "0.8", "y", "1e39"},
         "q0 (q): \"\u20681e39\u2069\" is outside the range of numbers, "
         "-3.4028235e+38 to 3.4028235e+38"},
        {{"30", "0.8", "", "0.5"}, "行走圈數 (MA): \"\u2068\u2069\" is not a valid whole number"},
        {{"49", "0.8", "30", "0.5"}, "螞蟻數目 (NA): number of ants must be from 1 to 48, got 49"},
        {{"0", "0.8", "1", "0.5"}, "螞蟻數目 (NA): number of ants must be from 1 to 48, got 0"},
        {{"30", "1.5", "30", "0.5"},
         "費洛蒙蒸發率 (RH): evaporation rate must be from 0 to 1, got 1.5"},
        {{"30", "1" + QString(41, u'0') + "e-1", "30", "0.5"},
         "費洛蒙蒸發率 (RH): evaporation rate must be from 0 to 1, got inf"},
        {{"30", "－１e39", "30", "0.5"},
         "費洛蒙蒸發率 (RH): evaporation rate must be from 0 to 1, got -inf"}};
    for (const auto& [texts, error] : refusals) {
        ErrorsShown.clear();
        SetFields(texts);
        EXPECT_EQ(Click(Form1->Button1), "");
        EXPECT_EQ(Click(Form1->Button2), "");
        EXPECT_EQ(ErrorsShown, std::vector{error});
        for (int i = 0; const TEdit* field : Fields()) EXPECT_EQ(field->text(), texts[i++]);
        EXPECT_EQ(Form1->Memo1->toPlainText(), "Memo1");
        SetFields({"30", "0.8", "0", "0.5"});
        EXPECT_EQ(Click(Form1->Button1), StartLine);
    }
}

// Whatever is pasted, wide, invisible or unbreakable, the error box stays
// within about 500 by 110 pixels (as every box shown is checked), so that its
// OK button stays on a small screen.
TEST(Window, KeepsTheErrorBoxSmallWhateverWasTyped) {
    for (const char* text : {"W", "\u200b", "蟻", "👨\u200d👩\u200d👧", "30\r\n40"}) {
        SetFields({QString::fromUtf8(text).repeated(40), "0.8", "30", "0.5"});
        EXPECT_EQ(Click(Form1->Button1), "");
    }
}

}  // namespace

// What Qt and fontconfig keep until exit is not ours to report.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

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
            ErrorsShown.push_back(box->text().toStdString());
            const QSize size = box->frameGeometry().size();
            EXPECT_TRUE(size.width() <= 500 && size.height() <= 110)
                << size.width() << "x" << size.height();
            box->accept();
        }
    });
    answer.start(10);
    return RUN_ALL_TESTS();
}
