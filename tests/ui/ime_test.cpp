// The input method: message order and results, the requester set, the candidate page, and the
// composition and candidate windows' places and pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/pixel_formats.h"
#include "ui/text_fixture.h"

namespace vs::test {
namespace {

using platform::CandidateList;
using ui::ImeMan;
using ui::ImeUiPane;

class ImeTest : public TextEditTest {
  protected:
    ImeTest() {
        dispatcher.setTraceHook([this](const InputEvent& e) {
            if (e.kind >= InputEvent::kText && e.kind <= InputEvent::kImeCandidatesClosed)
                kinds.push_back(e.kind);
        });
    }
    std::vector<int> kinds;
};

TEST_F(ImeTest, ACompositionStartsChangesCommitsOnceAndEnds) {
    auto p = entry();
    p->InsertText(u"ab");
    textInput.compose(u"k", 1);
    textInput.compose(u"ka", 2);
    pump();
    ASSERT_NE(imeUi.Composition(), nullptr);
    EXPECT_EQ(imeUi.Composition()->Text(), u"ka");
    EXPECT_EQ(ime.CompositionCursor(), 2);
    // The window sits at the caret: the entry at (10, 10), the caret after two letters.
    EXPECT_EQ(imeUi.Composition()->GetBoundsInParent(), Rect::fromSize(22, 10, 16, 16));
    EXPECT_EQ(textInput.rect(), Rect::fromSize(22, 10, 16, 16));
    textInput.commit(u"\u00e9");
    pump();
    EXPECT_EQ(kinds, (std::vector<int>{11, 12, 12, 9, 13}));
    EXPECT_EQ(p->Text(), u"ab\u00e9");
    EXPECT_EQ(imeUi.Composition(), nullptr);

    // A click completes a composition: its text once, then the end; the method forgets it.
    kinds.clear();
    textInput.compose(u"xy", 2);
    pump();
    p->OnMouse(mouseEvent(InputEvent::kLeftDown, 2, 3, 1000));
    p->OnMouse(mouseEvent(InputEvent::kLeftUp, 2, 3, 1001));
    EXPECT_EQ(kinds, (std::vector<int>{11, 12, 9, 13}));
    EXPECT_EQ(p->Text(), u"ab\u00e9xy");
    EXPECT_EQ(textInput.clears(), (std::vector<std::u16string>{u"xy"}));
    EXPECT_FALSE(ime.Composing());
    ime.CompleteComposition();
    EXPECT_EQ(p->Text(), u"ab\u00e9xy");

    // A password field takes nothing the method typed.
    p->SetPassword();
    textInput.commit(u"zz");
    pump();
    EXPECT_EQ(p->Text(), u"ab\u00e9xy");
}

TEST_F(ImeTest, TheMethodIsAvailableExactlyWhileSomebodyAsks) {
    auto a = entry(120, 36, TextEditPane::kReadOnly);
    auto b = entry(120, 36, TextEditPane::kReadOnly);
    EXPECT_FALSE(textInput.available());
    ime.Request(a.get(), true);
    ime.Request(a.get(), true);
    ime.Request(b.get(), true);
    ime.Request(a.get(), false);
    EXPECT_TRUE(textInput.available());
    ime.Request(b.get(), false);
    EXPECT_FALSE(textInput.available());
    ime.Request(a.get(), true);
    ime.Request(b.get(), true);
    ime.Request(nullptr, false);
    EXPECT_FALSE(textInput.available());
    // Plain input gives the method up and asks again.
    auto c = entry();
    EXPECT_TRUE(textInput.available());
    c->SetPlainInput(true);
    EXPECT_FALSE(textInput.available());
    c->SetPlainInput(false);
    EXPECT_TRUE(textInput.available());
}

TEST_F(ImeTest, AnEntryGoingAwayMidCompositionEndsIt) {
    auto p = entry();
    textInput.compose(u"ab", 1);
    pump();
    ASSERT_NE(imeUi.Composition(), nullptr);
    const Rect at = imeUi.Composition()->GetBoundsInParent();
    p.reset();
    // The last entry asking gave the method up: the composition ends with it.
    EXPECT_FALSE(textInput.available());
    EXPECT_EQ(kinds.back(), InputEvent::kImeEnd);
    EXPECT_EQ(imeUi.Composition(), nullptr);
    frame();
    // With no entry at all, a composition shows where the last one was.
    textInput.compose(u"cd", 1);
    pump();
    ASSERT_NE(imeUi.Composition(), nullptr);
    EXPECT_EQ(imeUi.Composition()->GetBoundsInParent().topLeft(), at.topLeft());
}

TEST_F(ImeTest, CandidatePagesAreClampedAndNeverEmpty) {
    auto list = [](size_t n, int32_t sel, int32_t start, int32_t size) {
        CandidateList l;
        for (size_t i = 0; i < n; ++i)
            l.candidates.push_back(std::u16string(1, char16_t(u'a' + i)));
        l.selection = sel;
        l.pageStart = start;
        l.pageSize = size;
        return l;
    };
    struct Case {
        const char* name;
        CandidateList list;
        bool shown;
        std::u16string items;  // one letter an item
        int32_t selection;
    } cases[] = {
        {"first page", list(12, 3, 0, 0), true, u"abcdefghi", 3},
        {"second page from the selection", list(12, 10, 0, 0), true, u"jkl", 1},
        {"page of four", list(12, 5, 0, 4), true, u"efgh", 1},
        {"given page start", list(12, 7, 6, 3), true, u"ghi", 1},
        {"start past the end", list(5, 2, 40, 3), true, u"e", 0},
        {"selection past the end", list(5, 99, 0, 0), true, u"abcde", 4},
        {"negative selection and size", list(5, -3, 0, -2), true, u"abcde", 0},
        {"empty", list(0, 0, 0, 0), false, u"", 0},
    };
    for (Case& c : cases) {
        ui::CandidatePage page;
        int32_t sel = -1;
        ASSERT_EQ(ImeMan::BuildPage(c.list, page, sel), c.shown) << c.name;
        if (!c.shown) continue;
        std::u16string items;
        for (const auto& s : page.items) items += s;
        EXPECT_EQ(items, c.items) << c.name;
        EXPECT_EQ(sel, c.selection) << c.name;
    }
    CandidateList code;
    code.style = CandidateList::kCode;
    code.candidates = {std::u16string(1, char16_t(0xE9))};
    ui::CandidatePage page;
    int32_t sel = 0;
    ASSERT_TRUE(ImeMan::BuildPage(code, page, sel));
    EXPECT_EQ(page.items, (std::vector<std::u16string>{u"\u00e9"}));

    // An empty list through the window procedure opens no window.
    auto p = entry();
    textInput.candidates(std::make_unique<CandidateList>());
    pump();
    EXPECT_EQ(imeUi.Candidates(), nullptr);
}

TEST(ImeWindows, PlacesStayOnTheScreen) {
    struct Comp {
        base::Point caret;
        int32_t w;
        Rect want;
    } comps[] = {
        {{100, 200}, 40, {100, 200, 140, 216}},
        {{620, 200}, 40, {600, 200, 640, 216}},
        {{-5, 470}, 40, {0, 464, 40, 480}},
    };
    for (const Comp& c : comps)
        EXPECT_EQ(ImeUiPane::PlaceComposition(c.caret, c.w, 16), c.want) << c.caret.x;
    const Rect comp{100, 200, 140, 216};
    const Rect low{100, 440, 140, 456};
    struct Cand {
        const char* name;
        const Rect* composition;
        int32_t cursorX, w, h;
        Rect want;
    } cands[] = {
        {"below at the cursor", &comp, 10, 50, 60, {110, 220, 160, 280}},
        {"moved left", &comp, 10, 560, 60, {80, 220, 640, 280}},
        {"above when low", &low, 10, 50, 60, {110, 380, 160, 440}},
        {"no composition", nullptr, 0, 50, 60, {4, 4, 54, 64}},
        {"taller than the room above", &low, 0, 50, 460, {100, 0, 150, 460}},
    };
    for (const Cand& c : cands)
        EXPECT_EQ(ImeUiPane::PlaceCandidates(c.composition, c.cursorX, c.w, c.h), c.want) << c.name;
}

class ImeWindowPixels : public ImeTest, public testing::WithParamInterface<graphics::PixelFormat> {
  protected:
    void SetUp() override { graphics::selectPixelFormat(GetParam()); }
};

TEST_P(ImeWindowPixels, BothWindowsShowAtTheCaretInTheTopLayer) {
    palettes = std::make_unique<resources::PaletteManager>(files);
    auto p = entry();
    p->InsertText(u"abc");
    textInput.compose(u"ab", 1);
    auto list = std::make_unique<CandidateList>();
    list->candidates = {u"a", u"bb", u"c"};
    list->selection = 1;
    textInput.candidates(std::move(list));
    pump();
    ASSERT_NE(imeUi.Candidates(), nullptr);
    frame();
    const Rect comp = imeUi.Composition()->GetBoundsInParent();
    const Rect cand = imeUi.Candidates()->GetBoundsInParent();
    EXPECT_EQ(comp, Rect::fromSize(28, 10, 16, 16));
    // At the composition cursor (one letter and 3 pixels in), 4 pixels below.
    EXPECT_EQ(cand, Rect::fromSize(28 + 9, 30, 18, 46));
    const uint16_t fill = graphics::Canvas::BaseColor(143), ink = graphics::Canvas::BaseColor(128);
    EXPECT_EQ(back.at(comp.left, comp.top), ink);  // frame
    EXPECT_EQ(back.at(comp.left + 1, comp.top + 1), fill);
    EXPECT_EQ(back.at(comp.left + 9, comp.top + 7), ink);  // the cursor bar after "a"
    // The selected second row is inverted: ink from y = 16 for 13 rows.
    EXPECT_EQ(back.at(cand.left + 15, cand.top + 16), ink);
    EXPECT_EQ(back.at(cand.left + 15, cand.top + 28), ink);
    EXPECT_EQ(back.at(cand.left + 15, cand.top + 8), fill);
    EXPECT_EQ(back.at(cand.left + 15, cand.top + 30), fill);
    // Closing removes both from the screen.
    textInput.closeCandidates();
    textInput.endComposition();
    pump();
    frame();
    EXPECT_EQ(imeUi.Candidates(), nullptr);
    EXPECT_NE(back.at(cand.left + 15, cand.top + 16), ink);
}

VS_INSTANTIATE_IN_BOTH_FORMATS(ImeWindowPixels);

}  // namespace
}  // namespace vs::test
