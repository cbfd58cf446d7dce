#include "scan/reference_list.h"

#include <array>
#include <string_view>

namespace kestrix::scan {

namespace {

// Only the base names are compared; the extensions stay as they were recorded, typos included.
constexpr std::array<std::string_view, 106> entries = {
    "ARIAL.TTF",    "ARIALBD.TTF",  "ARIALBI.TTF",  "ARIALI.TTF",   "ariblk.TTF",   "BradhITC.TTF",
    "comic.TTF",    "comicbd.TTF",  "Coprgtb.TTF",  "Coprgtl.TTF",  "COUR.TTF",     "COURBD.TTF",
    "COURBI.TTF",   "COURE.FON",    "COURI.TTF",    "Curlz___.TTF", "Engr.TTF",     "Engrb.TTF",
    "Erasdemi.TTF", "Eraslght.TTF", "estre.TTF",    "Eurosti.TTF",  "Eurostib.TTF", "Felixti.TTF",
    "Frabk.TTF",    "Frabkit.TTF",  "Fradm.TTF",    "Fradmit.TTF",  "Framd.TTF",    "FRAMDCN.TTF",
    "Framdit.TTF",  "Frscript.TTF", "gautami.TTF",  "georgia.TTF",  "georgiab.TTF", "georgiai.TTF",
    "georgiaz.TTF", "Gothic.TTF",   "Gothicb.TTF",  "Gothicbi.TTF", "Gothici.TTF",  "impact.TTF",
    "ITCBlkad.TTF", "ITCEdscr.TTF", "ITCKrist.TTF", "kartika.ttf",  "L_10646.TTF",  "latha.TTF",
    "Lsans.TTF",    "Lsansd.TTF",   "Lsansdi.TTF",  "Lsansi.TTF",   "LUCON.TTF",    "mangal.TTF",
    "matisse_.ttf", "MICROSS.TTF",  "MODERN.FON",   "mtextra.ttf",  "mvboli.TTF",   "pala.TTF",
    "palab.TTF",    "palabi.TTF",   "palai.TTF",    "Papyrus.TTF",  "Per_____.TTF", "Perb____.TTF",
    "Perbi___.TTF", "Peri____.TTF", "raavi.TTF",    "Rockeb.TTF",   "ROMAN.FON",    "SCRIPT.FON",
    "SERIFE.FON",   "shruti.TTF",   "SMALLE.FON",   "SSERIFE.FON",  "sylfaen.TTF",  "SYMBOL.TTF",
    "SYMBOLE.FON",  "TAHOMA.TTF",   "tahomabd.TTF", "TempsITC.TTF", "TIMES.TTF",    "TIMESBD.TTD",
    "TIMESBI.TTF",  "TIMESI.TTF",   "trebuc.TTF",   "trebucbd.TTF", "trebucbi.TTF", "trebucit.TTF",
    "tunga.TTF",    "verdana.TTF",  "verdanab.TTF", "verdanai.TTF", "verdanaz.TTF", "Vivaldii.TTF",
    "vrinda.TFF",   "webdings.TTF", "WINGDING.TTF", "wst_czec.FON", "wst_engl.FON", "wst_fren.FON",
    "wst_germ.FON", "wst_ital.FON", "wst_span.FON", "wst_swed.FON",
};

}  // namespace

QStringList referenceList() {
    return namesOf(entries);
}

QStringList namesOf(std::span<const std::string_view> table) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(table.size()));
    for (const auto name : table) {
        list << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    }
    return list;
}

}  // namespace kestrix::scan
