#include "scan/windows_fonts.h"

#include "scan/reference_list.h"

#include <array>
#include <string_view>

namespace kestrix::scan {

namespace {

// The font files (*.fon, *.ttf) a clean Windows 10 or 11 puts into its font folder, as its
// install images spell them: every edition from Windows 10 22H2 to Windows 11 24H2, en-US.
constexpr std::array<std::string_view, 332> names = {
    "8514fix.fon",       "8514fixe.fon",       "8514fixg.fon",
    "8514fixr.fon",      "8514fixt.fon",       "8514oem.fon",
    "8514oeme.fon",      "8514oemg.fon",       "8514oemr.fon",
    "8514oemt.fon",      "8514sys.fon",        "8514syse.fon",
    "8514sysg.fon",      "8514sysr.fon",       "8514syst.fon",
    "85775.fon",         "85855.fon",          "85f1255.fon",
    "85f1256.fon",       "85f1257.fon",        "85f874.fon",
    "85s1255.fon",       "85s1256.fon",        "85s1257.fon",
    "85s874.fon",        "app775.fon",         "app850.fon",
    "app852.fon",        "app855.fon",         "app857.fon",
    "app866.fon",        "app932.fon",         "app936.fon",
    "app949.fon",        "app950.fon",         "arial.ttf",
    "arialbd.ttf",       "arialbi.ttf",        "ariali.ttf",
    "ariblk.ttf",        "bahnschrift.ttf",    "c8514fix.fon",
    "c8514oem.fon",      "c8514sys.fon",       "calibri.ttf",
    "calibrib.ttf",      "calibrii.ttf",       "calibril.ttf",
    "calibrili.ttf",     "calibriz.ttf",       "cambriab.ttf",
    "cambriai.ttf",      "cambriaz.ttf",       "Candara.ttf",
    "Candarab.ttf",      "Candarai.ttf",       "Candaral.ttf",
    "Candarali.ttf",     "Candaraz.ttf",       "cga40737.fon",
    "cga40850.fon",      "cga40852.fon",       "cga40857.fon",
    "cga40866.fon",      "cga40869.fon",       "cga40woa.fon",
    "cga80737.fon",      "cga80850.fon",       "cga80852.fon",
    "cga80857.fon",      "cga80866.fon",       "cga80869.fon",
    "cga80woa.fon",      "comic.ttf",          "comicbd.ttf",
    "comici.ttf",        "comicz.ttf",         "consola.ttf",
    "consolab.ttf",      "consolai.ttf",       "consolaz.ttf",
    "constan.ttf",       "constanb.ttf",       "constani.ttf",
    "constanz.ttf",      "corbel.ttf",         "corbelb.ttf",
    "corbeli.ttf",       "corbell.ttf",        "corbelli.ttf",
    "corbelz.ttf",       "coue1255.fon",       "coue1256.fon",
    "coue1257.fon",      "couf1255.fon",       "couf1256.fon",
    "couf1257.fon",      "cour.ttf",           "courbd.ttf",
    "courbi.ttf",        "coure.fon",          "couree.fon",
    "coureg.fon",        "courer.fon",         "couret.fon",
    "courf.fon",         "courfe.fon",         "courfg.fon",
    "courfr.fon",        "courft.fon",         "couri.ttf",
    "cvgafix.fon",       "cvgasys.fon",        "Deng.ttf",
    "Dengb.ttf",         "Dengl.ttf",          "dos737.fon",
    "dos869.fon",        "dosapp.fon",         "ebrima.ttf",
    "ebrimabd.ttf",      "ega40737.fon",       "ega40850.fon",
    "ega40852.fon",      "ega40857.fon",       "ega40866.fon",
    "ega40869.fon",      "ega40woa.fon",       "ega80737.fon",
    "ega80850.fon",      "ega80852.fon",       "ega80857.fon",
    "ega80866.fon",      "ega80869.fon",       "ega80woa.fon",
    "framd.ttf",         "framdit.ttf",        "Gabriola.ttf",
    "gadugi.ttf",        "gadugib.ttf",        "georgia.ttf",
    "georgiab.ttf",      "georgiai.ttf",       "georgiaz.ttf",
    "h8514fix.fon",      "h8514oem.fon",       "h8514sys.fon",
    "himalaya.ttf",      "holomdl2.ttf",       "hvgafix.fon",
    "hvgasys.fon",       "impact.ttf",         "Inkfree.ttf",
    "j8514fix.fon",      "j8514oem.fon",       "j8514sys.fon",
    "javatext.ttf",      "jsmalle.fon",        "jsmallf.fon",
    "jvgafix.fon",       "jvgasys.fon",        "LeelaUIb.ttf",
    "LeelawUI.ttf",      "LeelUIsl.ttf",       "lucon.ttf",
    "l_10646.ttf",       "malgun.ttf",         "malgunbd.ttf",
    "malgunsl.ttf",      "marlett.ttf",        "micross.ttf",
    "mmrtext.ttf",       "mmrtextb.ttf",       "modern.fon",
    "monbaiti.ttf",      "msyi.ttf",           "mvboli.ttf",
    "Nirmala.ttf",       "NirmalaB.ttf",       "NirmalaS.ttf",
    "NotoSansSC-VF.ttf", "NotoSerifSC-VF.ttf", "ntailu.ttf",
    "ntailub.ttf",       "pala.ttf",           "palab.ttf",
    "palabi.ttf",        "palai.ttf",          "phagspa.ttf",
    "phagspab.ttf",      "roman.fon",          "s8514fix.fon",
    "s8514oem.fon",      "s8514sys.fon",       "SansSerifCollection.ttf",
    "script.fon",        "segmdl2.ttf",        "SegoeIcons.ttf",
    "segoepr.ttf",       "segoeprb.ttf",       "segoesc.ttf",
    "segoescb.ttf",      "segoeui.ttf",        "segoeuib.ttf",
    "segoeuii.ttf",      "segoeuil.ttf",       "segoeuisl.ttf",
    "segoeuiz.ttf",      "seguibl.ttf",        "seguibli.ttf",
    "seguiemj.ttf",      "seguihis.ttf",       "seguili.ttf",
    "seguisb.ttf",       "seguisbi.ttf",       "seguisli.ttf",
    "seguisym.ttf",      "SegUIVar.ttf",       "sere1255.fon",
    "sere1256.fon",      "sere1257.fon",       "serf1255.fon",
    "serf1256.fon",      "serf1257.fon",       "serife.fon",
    "serifee.fon",       "serifeg.fon",        "serifer.fon",
    "serifet.fon",       "seriff.fon",         "seriffe.fon",
    "seriffg.fon",       "seriffr.fon",        "serifft.fon",
    "simfang.ttf",       "simhei.ttf",         "simkai.ttf",
    "simsunb.ttf",       "SimsunExtG.ttf",     "SitkaVF-Italic.ttf",
    "SitkaVF.ttf",       "smae1255.fon",       "smae1256.fon",
    "smae1257.fon",      "smaf1255.fon",       "smaf1256.fon",
    "smaf1257.fon",      "smalle.fon",         "smallee.fon",
    "smalleg.fon",       "smaller.fon",        "smallet.fon",
    "smallf.fon",        "smallfe.fon",        "smallfg.fon",
    "smallfr.fon",       "smallft.fon",        "ssee1255.fon",
    "ssee1256.fon",      "ssee1257.fon",       "ssee874.fon",
    "ssef1255.fon",      "ssef1256.fon",       "ssef1257.fon",
    "ssef874.fon",       "sserife.fon",        "sserifee.fon",
    "sserifeg.fon",      "sserifer.fon",       "sserifet.fon",
    "sseriff.fon",       "sseriffe.fon",       "sseriffg.fon",
    "sseriffr.fon",      "sserifft.fon",       "svgafix.fon",
    "svgasys.fon",       "sylfaen.ttf",        "symbol.ttf",
    "tahoma.ttf",        "tahomabd.ttf",       "taile.ttf",
    "taileb.ttf",        "times.ttf",          "timesbd.ttf",
    "timesbi.ttf",       "timesi.ttf",         "trebuc.ttf",
    "trebucbd.ttf",      "trebucbi.ttf",       "trebucit.ttf",
    "verdana.ttf",       "verdanab.ttf",       "verdanai.ttf",
    "verdanaz.ttf",      "vga737.fon",         "vga775.fon",
    "vga850.fon",        "vga852.fon",         "vga855.fon",
    "vga857.fon",        "vga860.fon",         "vga861.fon",
    "vga863.fon",        "vga865.fon",         "vga866.fon",
    "vga869.fon",        "vga932.fon",         "vga936.fon",
    "vga949.fon",        "vga950.fon",         "vgaf1255.fon",
    "vgaf1256.fon",      "vgaf1257.fon",       "vgaf874.fon",
    "vgafix.fon",        "vgafixe.fon",        "vgafixg.fon",
    "vgafixr.fon",       "vgafixt.fon",        "vgaoem.fon",
    "vgas1255.fon",      "vgas1256.fon",       "vgas1257.fon",
    "vgas874.fon",       "vgasys.fon",         "vgasyse.fon",
    "vgasysg.fon",       "vgasysr.fon",        "vgasyst.fon",
    "webdings.ttf",      "wingding.ttf",
};

}  // namespace

QStringList windowsFontNames() {
    return namesOf(names);
}

WindowsFonts::WindowsFonts() {
    for (const auto& name : windowsFontNames()) {
        const BaseNameForms forms(name);
        exact_.insert(forms.exact);
        accepted_.insert(forms.exact);
        accepted_.insert(forms.lower);
        accepted_.insert(forms.upper);
    }
}

bool WindowsFonts::contains(const BaseNameForms& file) const {
    // The five comparisons of NamesMatch, against every name at once.
    return accepted_.contains(file.exact) || exact_.contains(file.lower) ||
           exact_.contains(file.upper);
}

}  // namespace kestrix::scan
