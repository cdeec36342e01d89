// The two dialogs' layout tables scaled to the DPIs of today's displays (100,
// 125, 150 and 200 %): sizes, and captions that still fit their controls.
#include "dialogs/ControlLayout.h"

#include <gtest/gtest.h>

#include <string>

#include "dialogs/EditForm.h"
#include "dialogs/SelectSigForm.h"

namespace bk::test {
namespace {

// Advance widths of Arial (and of Liberation Sans, metric-compatible), in
// 1/2048 em, of the characters 32 to 126.
constexpr int kArialAdvance[95] = {
    569,  569,  727,  1139, 1139, 1821, 1366, 391,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569,  569,  1196, 1196, 1196, 1139,
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1024, 1366, 1139, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569,  569,  569,  961,  1139,
    682,  1139, 1139, 1024, 1139, 1139, 569,  1139, 1139, 455,  455,  1024, 455,  1706, 1139, 1139,
    1139, 1139, 682,  1024, 569,  1139, 1024, 1479, 1024, 1024, 1024, 684,  532,  684,  1196};

// The width of a caption as shown (its "&" left out) in Arial of a character
// height of `pixels`: each advance rounded to whole pixels, as hinted text is.
int CaptionWidth(const std::string& caption, int pixels) {
    int width = 0;
    for (char c : caption)
        if (c != '&')
            width += (kArialAdvance[c - 32] * pixels + 1024) / 2048;
    return width;
}

// What a control of each kind needs beside its caption's text, at 96 DPI:
// the check or radio glyph and its gap, a button's frame, a group box's inset.
int CaptionPadding(Kind kind) {
    switch (kind) {
        case Kind::CheckBox:
        case Kind::RadioButton:
            return 19;
        case Kind::PushButton:
            return 8;
        case Kind::RadioGroup:
            return 16;
        default:
            return 0;
    }
}

bool Overlap(Rect a, Rect b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

TEST(ControlLayout, BothDialogsScaleWithTheDpiAndKeepEveryCaptionWhole) {
    struct Case {
        int dpi;
        int editWidth, editHeight, selectWidth, selectHeight;
        int fontHeight;
        Rect selSigCheckBox, sigCheckListBox;
    } cases[] = {
        {96, 465, 497, 466, 239, 12, {56, 80, 217, 17}, {8, 40, 337, 89}},
        {120, 581, 621, 583, 299, 15, {70, 100, 271, 21}, {10, 50, 421, 111}},
        {144, 698, 746, 699, 359, 18, {84, 120, 326, 26}, {12, 60, 506, 134}},
        {192, 930, 994, 932, 478, 24, {112, 160, 434, 34}, {16, 80, 674, 178}},
    };
    const Layout& edit = EditFormLayout();
    const Layout& select = SelectSigFormLayout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(ScaleToDpi(edit.clientWidth, c.dpi), c.editWidth);
        EXPECT_EQ(ScaleToDpi(edit.clientHeight, c.dpi), c.editHeight);
        EXPECT_EQ(ScaleToDpi(select.clientWidth, c.dpi), c.selectWidth);
        EXPECT_EQ(ScaleToDpi(select.clientHeight, c.dpi), c.selectHeight);
        EXPECT_EQ(ScaleToDpi(kFontCharacterHeight, c.dpi), c.fontHeight);
        EXPECT_EQ(ScaleToDpi(edit.rows[3].place, c.dpi), c.selSigCheckBox);
        EXPECT_EQ(ScaleToDpi(select.rows[1].place, c.dpi), c.sigCheckListBox);

        for (const Layout* layout : {&edit, &select}) {
            Rect client = layout == &edit ? Rect{0, 0, c.editWidth, c.editHeight}
                                          : Rect{0, 0, c.selectWidth, c.selectHeight};
            for (const ControlRow& row : layout->rows) {
                Rect r = ScaleToDpi(row.place, c.dpi);
                EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= client.width &&
                            r.y + r.height <= client.height)
                    << row.field << " inside the client area";
                // Controls apart at 96 DPI stay apart.
                for (const ControlRow& other : layout->rows) {
                    if (&other != &row && !Overlap(row.place, other.place)) {
                        EXPECT_FALSE(Overlap(r, ScaleToDpi(other.place, c.dpi)))
                            << row.field << " and " << other.field;
                    }
                }
                if (row.caption) {
                    EXPECT_LE(CaptionWidth(row.caption, c.fontHeight) +
                                  ScaleToDpi(CaptionPadding(row.kind), c.dpi),
                              r.width)
                        << row.field << " caption fits";
                }
            }
        }
    }
}

}  // namespace
}  // namespace bk::test
