#include "script/script_parser.h"

#include <gtest/gtest.h>

namespace morvane::script {
namespace {

using Words = std::vector<std::string>;

TEST(ScriptWords, BlanksSeparateAndQuotesKeepThem) {
    EXPECT_EQ(SplitWords("click btnAdd"), (Words{"click", "btnAdd"}));
    EXPECT_EQ(SplitWords("  set\tedtName   \"my  pad\"  "), (Words{"set", "edtName", "my  pad"}));
    EXPECT_EQ(SplitWords("set edtName \"\""), (Words{"set", "edtName", ""}));
    EXPECT_EQ(SplitWords(R"(set edtName "say \"hi\" \\o/")"),
              (Words{"set", "edtName", R"(say "hi" \o/)"}));
    // A backslash outside quotes is an ordinary character (paths on other systems).
    EXPECT_EQ(SplitWords(R"(file C:\a.syx)"), (Words{"file", R"(C:\a.syx)"}));
    EXPECT_TRUE(SplitWords("   ").empty());
}

TEST(ScriptWords, MalformedQuotesAreErrors) {
    EXPECT_THROW(SplitWords("set edtName \"open"), ScriptError);
    EXPECT_THROW(SplitWords("set edtName \"ends with \\"), ScriptError);
    EXPECT_THROW(SplitWords(R"(set edtName "bad \n escape")"), ScriptError);
    EXPECT_THROW(SplitWords("set edtName \"a\"b"), ScriptError);
    EXPECT_THROW(SplitWords("set edtName a\"b\""), ScriptError);
}

TEST(ScriptWords, QuoteIsTheInverseOfSplitting) {
    for (const std::string text : {"", "plain", "two words", R"(q"uo\te)", "\\", "\""}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(SplitWords("x " + Quote(text)), (Words{"x", text}));
    }
    EXPECT_EQ(Quote(R"(a"b\c)"), R"("a\"b\\c")");
}

TEST(ScriptLines, NumbersEveryLineAndDropsCarriageReturns) {
    const auto lines = SplitLines("a\r\n\n# c\nd");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].Number, 1);
    EXPECT_EQ(lines[0].Text, "a");
    EXPECT_EQ(lines[1].Text, "");
    EXPECT_EQ(lines[3].Number, 4);
    EXPECT_EQ(lines[3].Text, "d");
    EXPECT_EQ(SplitLines("a\n").size(), 1u);
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(ScriptLines, AByteOrderMarkIsSkippedOnlyAtTheStart) {
    const std::string mark = "\xEF\xBB\xBF";
    const auto lines = SplitLines(mark + "click a\r\n" + mark + "b");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Text, "click a");
    EXPECT_EQ(lines[1].Number, 2);
    EXPECT_EQ(lines[1].Text, mark + "b");
    EXPECT_EQ(SplitLines("\xEF\xBB").at(0).Text, "\xEF\xBB"); // no whole mark: kept
}

TEST(ScriptLine, BlankAndCommentLinesHaveNoAction) {
    EXPECT_FALSE(ParseLine(""));
    EXPECT_FALSE(ParseLine("   \t"));
    EXPECT_FALSE(ParseLine("# click btnAdd"));
    EXPECT_FALSE(ParseLine("   # indented comment \"unclosed"));
}

TEST(ScriptLine, ControlActions) {
    auto a = ParseLine("click Addwave1");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Kind, ActionKind::Click);
    EXPECT_EQ(a->Name, "Addwave1");
    a = ParseLine("set cmbWave #3");
    EXPECT_EQ(a->Kind, ActionKind::Set);
    EXPECT_EQ(a->Name, "cmbWave");
    EXPECT_EQ(a->Value, "#3");
    EXPECT_EQ(ParseLine("press btnShowClipboard")->Kind, ActionKind::Press);
    EXPECT_EQ(ParseLine("release btnShowClipboard")->Kind, ActionKind::Release);
    EXPECT_EQ(ParseLine("print history")->Name, "history");
    EXPECT_EQ(ParseLine("widgets")->Kind, ActionKind::Widgets);
}

TEST(ScriptLine, WrongWordCountsAndUnknownActionsAreErrors) {
    for (const char *line :
         {"click", "click a b", "set cmbWave", "set a b c", "widgets x", "nofile x", "print",
          "tick", "tick TimerPlay 1 2", "wait", "save-graph", "answer", "file", "file \"\"",
          "Click btnAdd", "clik btnAdd", "mouse down 1"}) {
        SCOPED_TRACE(line);
        EXPECT_THROW(ParseLine(line), ScriptError);
    }
}

TEST(ScriptLine, Keys) {
    auto a = ParseLine("key Ctrl+Z");
    EXPECT_EQ(a->Kind, ActionKind::Key);
    EXPECT_EQ(a->Keys.Key, "Z");
    EXPECT_EQ(a->Keys.Modifiers, static_cast<unsigned>(Modifier::Ctrl));
    a = ParseLine("key ctrl+shift+f3");
    EXPECT_EQ(a->Keys.Key, "F3");
    EXPECT_EQ(a->Keys.Modifiers,
              static_cast<unsigned>(Modifier::Ctrl) | static_cast<unsigned>(Modifier::Shift));
    EXPECT_EQ(ParseLine("key Return")->Keys.Key, "Enter");
    EXPECT_EQ(ParseLine("key 3")->Keys.Key, "3");
    EXPECT_EQ(ParseLine("key w")->Keys.Key, "W");
    a = ParseLine("keydown Ctrl");
    EXPECT_EQ(a->Kind, ActionKind::KeyDown);
    EXPECT_EQ(a->Keys.Key, "Ctrl");
    EXPECT_EQ(a->Keys.Modifiers, 0u);
    EXPECT_EQ(ParseLine("keyup Control")->Keys.Key, "Ctrl");
    for (const char *line : {"key Ctrl+", "key +Z", "key F13", "key Ctrl+Ctrl+Z", "key Z+Ctrl",
                             "key Hyper+Z", "keydown Ctrl+W", "key WW"}) {
        SCOPED_TRACE(line);
        EXPECT_THROW(ParseLine(line), ScriptError);
    }
}

TEST(ScriptLine, Mouse) {
    auto a = ParseLine("mouse down 10 -3");
    EXPECT_EQ(a->Kind, ActionKind::Mouse);
    EXPECT_EQ(a->Mouse.Phase, MousePhase::Down);
    EXPECT_EQ(a->Mouse.X, 10);
    EXPECT_EQ(a->Mouse.Y, -3);
    EXPECT_EQ(a->Mouse.Button, MouseButton::Left);
    EXPECT_FALSE(a->Mouse.Ctrl);
    a = ParseLine("mouse move 400 0");
    EXPECT_EQ(a->Mouse.Phase, MousePhase::Move);
    EXPECT_EQ(a->Mouse.Button, MouseButton::None);
    a = ParseLine("mouse up 1 2 right ctrl");
    EXPECT_EQ(a->Mouse.Phase, MousePhase::Up);
    EXPECT_EQ(a->Mouse.Button, MouseButton::Right);
    EXPECT_TRUE(a->Mouse.Ctrl);
    EXPECT_TRUE(ParseLine("mouse down 1 2 ctrl")->Mouse.Ctrl);
    EXPECT_EQ(a->Mouse.Target, "");
    a = ParseLine("mouse up 1 2 right ctrl on imgHarmonics");
    EXPECT_EQ(a->Mouse.Target, "imgHarmonics");
    EXPECT_EQ(a->Mouse.Button, MouseButton::Right);
    EXPECT_EQ(ParseLine("mouse move 1 2 on imgHarmonics")->Mouse.Target, "imgHarmonics");
    for (const char *line :
         {"mouse press 1 2", "mouse down x 2", "mouse down 1 2.5", "mouse down 1 2 left left",
          "mouse down 1 2 ctrl left", "mouse down 1 2 shift", "mouse down 1 2 left ctrl ctrl",
          "mouse down 1 2 on", "mouse down 1 2 on img left", "harmonic 65 0.5 0",
          "harmonic 3 -0.5 0", "harmonic 3 0.5", "harmonic 3 0.5 x", "harmonic 3 inf 0"}) {
        SCOPED_TRACE(line);
        EXPECT_THROW(ParseLine(line), ScriptError);
    }
}

TEST(ScriptLine, Harmonic) {
    const auto a = ParseLine("harmonic 64 0.25 -90.5");
    EXPECT_EQ(a->Kind, ActionKind::Harmonic);
    EXPECT_EQ(a->Harmonic.K, 64);
    EXPECT_DOUBLE_EQ(a->Harmonic.Magnitude, 0.25);
    EXPECT_DOUBLE_EQ(a->Harmonic.Phase, -90.5);
    EXPECT_EQ(ParseLine("harmonic 0 1e-3 0")->Harmonic.Magnitude, 0.001);
}

TEST(ScriptLine, DialogAnswers) {
    EXPECT_EQ(ParseLine("answer yes")->Reply, morvane::ui::Answer::Yes);
    EXPECT_EQ(ParseLine("answer no")->Reply, morvane::ui::Answer::No);
    EXPECT_EQ(ParseLine("answer cancel")->Reply, morvane::ui::Answer::Cancel);
    EXPECT_THROW(ParseLine("answer maybe"), ScriptError);
    EXPECT_EQ(ParseLine("file \"my table.syx\"")->Path, std::optional<std::string>("my table.syx"));
    auto a = ParseLine("nofile");
    EXPECT_EQ(a->Kind, ActionKind::NoFile);
    EXPECT_FALSE(a->Path);

    EXPECT_EQ(ParseLine("choose \"Soft Pad\"")->Selector.How, SelectorChoice::Kind::Name);
    EXPECT_EQ(ParseLine("choose \"Soft Pad\"")->Selector.Name, "Soft Pad");
    a = ParseLine("choose #2");
    EXPECT_EQ(a->Selector.How, SelectorChoice::Kind::Index);
    EXPECT_EQ(a->Selector.Index, 2);
    EXPECT_EQ(ParseLine("choose none")->Selector.How, SelectorChoice::Kind::None);
    EXPECT_EQ(ParseLine("choose cancel")->Selector.How, SelectorChoice::Kind::Cancel);
    EXPECT_THROW(ParseLine("choose #-1"), ScriptError);
    EXPECT_THROW(ParseLine("choose #x"), ScriptError);

    a = ParseLine("audiosetup 0 \"22.05 kHz, mono\" ok");
    EXPECT_EQ(a->Audio.Device, 0);
    EXPECT_EQ(a->Audio.Format, AudioSetupChoice::FormatKind::Text);
    EXPECT_EQ(a->Audio.FormatText, "22.05 kHz, mono");
    EXPECT_TRUE(a->Audio.Ok);
    a = ParseLine("audiosetup none #7 cancel");
    EXPECT_EQ(a->Audio.Device, -1);
    EXPECT_EQ(a->Audio.Format, AudioSetupChoice::FormatKind::Index);
    EXPECT_EQ(a->Audio.FormatIndex, 7);
    EXPECT_FALSE(a->Audio.Ok);
    EXPECT_EQ(ParseLine("audiosetup 1 none ok")->Audio.Format, AudioSetupChoice::FormatKind::None);
    for (const char *line : {"audiosetup 0 none", "audiosetup -1 none ok", "audiosetup x none ok",
                             "audiosetup 0 none maybe"}) {
        SCOPED_TRACE(line);
        EXPECT_THROW(ParseLine(line), ScriptError);
    }
}

TEST(ScriptLine, TimersClockAndWait) {
    auto a = ParseLine("tick TimerPlay");
    EXPECT_EQ(a->Kind, ActionKind::Tick);
    EXPECT_EQ(a->Count, 1);
    EXPECT_EQ(ParseLine("tick TimerPlay 64")->Count, 64);
    EXPECT_EQ(ParseLine("tick TimerPlay 0")->Count, 0);
    EXPECT_THROW(ParseLine("tick TimerPlay -1"), ScriptError);
    EXPECT_EQ(ParseLine("tick TimerPlay +3")->Count, 3); // the one number rule takes a sign
    EXPECT_EQ(ParseLine("wait 250")->Count, 250);
    EXPECT_THROW(ParseLine("wait 1s"), ScriptError);

    a = ParseLine("clock 13:05:09.007");
    EXPECT_EQ(a->Time.Hour, 13);
    EXPECT_EQ(a->Time.Minute, 5);
    EXPECT_EQ(a->Time.Second, 9);
    EXPECT_EQ(a->Time.Millisecond, 7);
    EXPECT_EQ(ParseLine("clock 23:59:59.999")->Time.Millisecond, 999);
    for (const char *line :
         {"clock 24:00:00.000", "clock 12:60:00.000", "clock 12:00:60.000", "clock 1:00:00.000",
          "clock 12:00:00", "clock 12:00:00.0000", "clock 12-00-00.000", "clock 12:0a:00.000"}) {
        SCOPED_TRACE(line);
        EXPECT_THROW(ParseLine(line), ScriptError);
    }
}

TEST(ScriptLine, SavesTakeAPath) {
    EXPECT_EQ(ParseLine("save-graph g.png")->Kind, ActionKind::SaveGraph);
    EXPECT_EQ(ParseLine("save-overview o.png")->Kind, ActionKind::SaveOverview);
    EXPECT_EQ(ParseLine("save-buffers b.raw")->Kind, ActionKind::SaveBuffers);
    auto a = ParseLine("save-window \"the window.png\"");
    EXPECT_EQ(a->Kind, ActionKind::SaveWindow);
    EXPECT_EQ(a->Name, "the window.png");
    a = ParseLine("drop \"my lead.syx\"");
    EXPECT_EQ(a->Kind, ActionKind::Drop);
    EXPECT_EQ(a->Name, "my lead.syx");
    EXPECT_THROW(ParseLine("drop"), ScriptError);
    EXPECT_THROW(ParseLine("drop \"\""), ScriptError);
}

TEST(ScriptNumbers, WholeNumbersOnly) {
    // Script words follow the program's one rule for numbers (document/decimal.h).
    EXPECT_EQ(ParseLine("mouse down +5 -3")->Mouse.X, 5);
    EXPECT_THROW(ParseLine("mouse down +-5 3"), ScriptError);
    EXPECT_THROW(ParseLine("mouse down 1.0 3"), ScriptError);
    EXPECT_EQ(ParseIndexWord("#0"), 0);
    EXPECT_EQ(ParseIndexWord("#63"), 63);
    EXPECT_FALSE(ParseIndexWord("#"));
    EXPECT_FALSE(ParseIndexWord("#-1"));
    EXPECT_FALSE(ParseIndexWord("#+1"));
    EXPECT_FALSE(ParseIndexWord("3"));
}

} // namespace
} // namespace morvane::script
