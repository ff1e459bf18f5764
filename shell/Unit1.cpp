#include "Unit1.h"

#include "colony.h"
#include "conversion.h"

#include <limits>

TForm1* Form1 = nullptr;

namespace {

using enum ControlKind;

const ControlLayout Form1Controls[] = {
    // kind, name, parent, left, top, width, height, tab order, caption or text,
    // the field a label names, a memo's scroll bars, the click handler
    {GroupBox, "GroupBox1", nullptr, 40, 24, 161, 337, 0, "GroupBox1"},
    {Label, "Label1", "GroupBox1", 16, 24, 48, 13, -1, "螞蟻數目", "NA"},
    {Label, "Label2", "GroupBox1", 16, 72, 72, 13, -1, "費洛蒙蒸發率", "RH"},
    {Label, "Label3", "GroupBox1", 16, 120, 48, 13, -1, "行走圈數", "MA"},
    {Label, "Label4", "GroupBox1", 16, 168, 12, 13, -1, "q0", "q"},
    {Edit, "NA", "GroupBox1", 16, 40, 121, 21, 0, "30"},
    {Edit, "RH", "GroupBox1", 16, 88, 121, 21, 1, "0.8"},
    {Edit, "MA", "GroupBox1", 16, 136, 121, 21, 2, "30"},
    {Edit, "q", "GroupBox1", 16, 184, 121, 21, 3, "0.5"},
    {Button, "Button1", "GroupBox1", 16, 216, 121, 41, 4, "START", nullptr, false,
     Handler<TForm1, &TForm1::Button1Click>},
    {Button, "Button2", "GroupBox1", 16, 272, 121, 49, 5, "CLEAR"},
    {GroupBox, "GroupBox2", nullptr, 216, 24, 713, 337, 1, "GroupBox2"},
    {Image, "Image1", "GroupBox2", 264, 24, 425, 297, -1, ""},
    {Memo, "Memo1", "GroupBox2", 24, 24, 225, 297, 0, "Memo1", nullptr, true},
};

// The stored layout of Form1.
const FormLayout Form1Layout = {"Form1", 189, 128, 1036, 633, Form1Controls};

// A rate beyond every float lies beyond the rate's own range too: read as an
// infinity of its sign, the run refuses it naming that range, as it does 2.
float EvaporationRate(const FieldText& text) {
    try {
        return StrToFloat(text);
    } catch (const OutOfRange& beyond) {
        return beyond.negative ? -std::numeric_limits<float>::infinity()
                               : std::numeric_limits<float>::infinity();
    }
}

}  // namespace

TForm1::TForm1() : TForm(Form1Layout) {}

// Every field is converted before the run starts, so a malformed one stops
// the click before anything is seeded or printed. q is read before MA. The
// run refuses values outside its ranges before it starts; the refusal names
// the field, as a conversion's does.
void TForm1::Button1Click(TObject* /*Sender*/) {
    RunParameters params;
    params.AntCount = StrToInt(GetText(NA));
    params.EvaporationRate = EvaporationRate(GetText(RH));
    params.ExploitThreshold = StrToFloat(GetText(q));
    params.IterationCount = StrToInt(GetText(MA));
    try {
        RunColony(params);
    } catch (const RefusedParameter& refused) {
        const TEdit* field = refused.parameter == RefusedParameter::AntCount ? NA : RH;
        throw Exception(GetText(field).field + ": " + refused.what());
    }
}
