// Input as messages quote it and tables carry it: visible, brief, and never a formula.
#include "tools/calc/QuotedText.h"

#include <gtest/gtest.h>

TEST(QuotedText, MessagesShowControlsAsEscapesAndCutLongValues) {
    EXPECT_EQ(QuoteInput("12abc"), "'12abc'");
    EXPECT_EQ(QuoteInput("\x1b[2J8"), "'\\x1b[2J8'");
    EXPECT_EQ(QuoteInput(std::string("8\0x\t\x7f", 5)), "'8\\x00x\\x09\\x7f'");
    EXPECT_EQ(QuoteInput("2\xC2\x9B"
                         "5"),
              "'2\\u009b5'"); // a C1 control (CSI)
    EXPECT_EQ(QuoteInput("\xE2\x80\xAE"
                         "8"),
              "'\\u202e8'"); // right-to-left override
    EXPECT_EQ(QuoteInput("\xFF"
                         "8\xC3"),
              "'\\xff8\\xc3'");                                            // not UTF-8
    EXPECT_EQ(QuoteInput("2\xC2\xBD m\xC2\xB3"), "'2\xC2\xBD m\xC2\xB3'"); // kept: ½, ³
    EXPECT_EQ(QuoteInput("\xEF\xBB\xBFspm"), "a byte-order mark (U+FEFF) before 'spm'");
    EXPECT_EQ(QuoteInput("s\xEF\xBB\xBFpm"), "'s\\ufeffpm'");
    EXPECT_EQ(QuoteInput(std::string(60, 'x')), "'" + std::string(60, 'x') + "'");
    EXPECT_EQ(QuoteInput(std::string(50 << 20, 'x')), "'" + std::string(60, 'x') + "\u2026'");
    EXPECT_EQ(QuoteInput(std::string(59, 'x') + "\xC2\xBD"
                                                "yz"),
              "'" + std::string(59, 'x') + "\xC2\xBD\u2026'"); // whole characters
    EXPECT_EQ(Printable("cannot read '/tmp/a\nb': gone"), "cannot read '/tmp/a\\x0ab': gone");
    EXPECT_EQ(Printable(std::string(200, 'p')), std::string(200, 'p')); // not cut
}

TEST(QuotedText, CellsASpreadsheetWouldRunGetAnApostropheNumbersStayNumbers) {
    for (const char* formula : {"=1+2", "+1 555 0100", "-W2", "@SUM(A1)", "\tx", "\r=1", "-", "+",
                                "-3-3", "-1e", "--3", "-.", "-3,5"}) {
        EXPECT_EQ(SpreadsheetSafe(formula), "'" + std::string(formula)) << formula;
    }
    for (const char* kept :
         {"-3", "+7", "-1.5e3", "-.5", "+2.", "-4E-2", "W-1", "note = 3", "", "'=1", "3"}) {
        EXPECT_EQ(SpreadsheetSafe(kept), kept) << kept;
    }
}
