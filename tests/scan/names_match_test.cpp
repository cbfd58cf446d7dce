#include "scan/names_match.h"
#include "scan/reference_list.h"

#include <gtest/gtest.h>
#include <QSet>

namespace kestrix::scan {
namespace {

bool matchesReferenceList(const QString& fileName) {
    const auto entries = referenceList();
    return std::any_of(entries.begin(), entries.end(),
                       [&](const QString& entry) { return NamesMatch(fileName, entry); });
}

TEST(BaseName, IsTheTextBeforeTheFirstDot) {
    EXPECT_EQ(BaseName("arial.ttf"), "arial");
    EXPECT_EQ(BaseName("arial.old.ttf"), "arial");
    EXPECT_EQ(BaseName("ARIAL"), "ARIAL");
    EXPECT_EQ(BaseName(".hidden.ttf"), "");
    EXPECT_EQ(BaseName(""), "");
    EXPECT_EQ(BaseName("a b-c_d.ttf"), "a b-c_d");
}

TEST(NamesMatch, IgnoresCaseWhenEitherSideIsWrittenInOneCase) {
    // Upper-case entry.
    for (const char* file : {"arial.ttf", "Arial.ttf", "ARIAL.TTF", "aRiAl.TtF"}) {
        EXPECT_TRUE(NamesMatch(file, "ARIAL.TTF")) << file;
    }
    // Lower-case entry.
    EXPECT_TRUE(NamesMatch("Verdana.ttf", "verdana.TTF"));
    EXPECT_TRUE(NamesMatch("VERDANA.TTF", "verdana.TTF"));
    // Mixed-case entry: only identical, all-lower or all-upper files match.
    EXPECT_TRUE(NamesMatch("Papyrus.ttf", "Papyrus.TTF"));
    EXPECT_TRUE(NamesMatch("papyrus.ttf", "Papyrus.TTF"));
    EXPECT_TRUE(NamesMatch("PAPYRUS.TTF", "Papyrus.TTF"));
    EXPECT_FALSE(NamesMatch("PaPyRuS.ttf", "Papyrus.TTF"));
    EXPECT_FALSE(NamesMatch("PAPYRUs.ttf", "Papyrus.TTF"));
    // Characters that have no case stay as they are.
    EXPECT_TRUE(NamesMatch("l_10646.ttf", "L_10646.TTF"));
    EXPECT_TRUE(NamesMatch("per_____.ttf", "Per_____.TTF"));
}

TEST(NamesMatch, ComparesWholeBaseNamesAndNeverExtensions) {
    EXPECT_TRUE(NamesMatch("tahoma.fon", "TAHOMA.TTF"));
    EXPECT_TRUE(NamesMatch("TIMESBD.TTF", "TIMESBD.TTD"));
    EXPECT_TRUE(NamesMatch("vrinda.ttf", "vrinda.TFF"));
    EXPECT_TRUE(NamesMatch("arial.old.ttf", "ARIAL.TTF"));
    EXPECT_FALSE(NamesMatch("ARIALN.TTF", "ARIAL.TTF"));
    EXPECT_FALSE(NamesMatch("arialuni.ttf", "ARIAL.TTF"));
    EXPECT_FALSE(NamesMatch("ARIA.TTF", "ARIAL.TTF"));
    EXPECT_FALSE(NamesMatch(".ttf", "ARIAL.TTF"));
}

TEST(ReferenceList, HoldsTheStandardFontsInCaseInsensitiveOrder) {
    const QStringList entries = referenceList();
    ASSERT_EQ(entries.size(), 106);
    EXPECT_EQ(entries.front(), "ARIAL.TTF");
    EXPECT_EQ(entries.at(45), "kartika.ttf");
    EXPECT_EQ(entries.back(), "wst_swed.FON");
    for (qsizetype i = 1; i < entries.size(); ++i) {
        EXPECT_LT(entries[i - 1].compare(entries[i], Qt::CaseInsensitive), 0) << i;
    }

    int ttfUpper = 0, ttfLower = 0, fon = 0, other = 0;
    int upper = 0, lower = 0, mixed = 0;
    QSet<QString> baseNames;
    for (const auto& entry : entries) {
        const QString extension = entry.mid(entry.indexOf(u'.'));
        ttfUpper += extension == ".TTF";
        ttfLower += extension == ".ttf";
        fon += extension == ".FON";
        other += extension != ".TTF" && extension != ".ttf" && extension != ".FON";
        const QString base = BaseName(entry);
        upper += base == base.toUpper() && base != base.toLower();
        lower += base == base.toLower() && base != base.toUpper();
        mixed += base != base.toUpper() && base != base.toLower();
        baseNames.insert(base.toLower());
    }
    EXPECT_EQ(ttfUpper, 86);
    EXPECT_EQ(ttfLower, 3);
    EXPECT_EQ(fon, 15);
    EXPECT_EQ(other, 2);
    EXPECT_EQ(upper, 27);
    EXPECT_EQ(lower, 42);
    EXPECT_EQ(mixed, 37);
    EXPECT_EQ(baseNames.size(), 106) << "no two entries share a base name, ignoring case";
}

TEST(ReferenceList, DecidesWhichFilesAreExcessive) {
    EXPECT_TRUE(matchesReferenceList("arial.ttf"));
    EXPECT_TRUE(matchesReferenceList("WINGDING.TTF"));
    EXPECT_TRUE(matchesReferenceList("modern.fon"));
    EXPECT_TRUE(matchesReferenceList("Gothicbi.ttf"));
    EXPECT_FALSE(matchesReferenceList("GoThIcBi.ttf"));
    EXPECT_FALSE(matchesReferenceList("DejaVuSans.ttf"));
    EXPECT_FALSE(matchesReferenceList("times new roman.ttf"));
}

}  // namespace
}  // namespace kestrix::scan
