// The locale-to-LANGID tables: the common country variants and one main identifier per
// language for locales whose country the table does not list.
#include "lang/locale_lang_id.h"

#include <algorithm>
#include <string>

namespace tavrel {
namespace {

struct LocaleId {
    std::string_view name;
    std::uint16_t id;
};

constexpr LocaleId countryIds[] = {
    {"ar_AE", 0x3801}, {"ar_EG", 0x0C01}, {"ar_MA", 0x1801}, {"ar_SA", 0x0401}, {"be_BY", 0x0423},
    {"bg_BG", 0x0402}, {"bs_BA", 0x141A}, {"ca_ES", 0x0403}, {"cs_CZ", 0x0405}, {"cy_GB", 0x0452},
    {"da_DK", 0x0406}, {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"de_DE", 0x0407}, {"de_LI", 0x1407},
    {"de_LU", 0x1007}, {"el_GR", 0x0408}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_GB", 0x0809},
    {"en_IE", 0x1809}, {"en_IN", 0x4009}, {"en_NZ", 0x1409}, {"en_PH", 0x3409}, {"en_SG", 0x4809},
    {"en_US", 0x0409}, {"en_ZA", 0x1C09}, {"es_AR", 0x2C0A}, {"es_CL", 0x340A}, {"es_CO", 0x240A},
    {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_PE", 0x280A}, {"es_US", 0x540A}, {"es_VE", 0x200A},
    {"et_EE", 0x0425}, {"eu_ES", 0x042D}, {"fa_IR", 0x0429}, {"fi_FI", 0x040B}, {"fr_BE", 0x080C},
    {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_FR", 0x040C}, {"fr_LU", 0x140C}, {"ga_IE", 0x083C},
    {"gl_ES", 0x0456}, {"he_IL", 0x040D}, {"hi_IN", 0x0439}, {"hr_HR", 0x041A}, {"hu_HU", 0x040E},
    {"id_ID", 0x0421}, {"is_IS", 0x040F}, {"it_CH", 0x0810}, {"it_IT", 0x0410}, {"ja_JP", 0x0411},
    {"ko_KR", 0x0412}, {"lt_LT", 0x0427}, {"lv_LV", 0x0426}, {"mk_MK", 0x042F}, {"ms_MY", 0x043E},
    {"mt_MT", 0x043A}, {"nb_NO", 0x0414}, {"nl_BE", 0x0813}, {"nl_NL", 0x0413}, {"nn_NO", 0x0814},
    {"pl_PL", 0x0415}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"ro_RO", 0x0418}, {"ru_RU", 0x0419},
    {"sk_SK", 0x041B}, {"sl_SI", 0x0424}, {"sq_AL", 0x041C}, {"sr_RS", 0x281A}, {"sv_FI", 0x081D},
    {"sv_SE", 0x041D}, {"th_TH", 0x041E}, {"tr_TR", 0x041F}, {"uk_UA", 0x0422}, {"vi_VN", 0x042A},
    {"zh_CN", 0x0804}, {"zh_HK", 0x0C04}, {"zh_MO", 0x1404}, {"zh_SG", 0x1004}, {"zh_TW", 0x0404},
};

constexpr LocaleId languageIds[] = {
    {"ar", 0x0401}, {"be", 0x0423}, {"bg", 0x0402}, {"bs", 0x141A}, {"ca", 0x0403}, {"cs", 0x0405},
    {"cy", 0x0452}, {"da", 0x0406}, {"de", 0x0407}, {"el", 0x0408}, {"en", 0x0409}, {"es", 0x0C0A},
    {"et", 0x0425}, {"eu", 0x042D}, {"fa", 0x0429}, {"fi", 0x040B}, {"fr", 0x040C}, {"ga", 0x083C},
    {"gl", 0x0456}, {"he", 0x040D}, {"hi", 0x0439}, {"hr", 0x041A}, {"hu", 0x040E}, {"id", 0x0421},
    {"is", 0x040F}, {"it", 0x0410}, {"ja", 0x0411}, {"ko", 0x0412}, {"lt", 0x0427}, {"lv", 0x0426},
    {"mk", 0x042F}, {"ms", 0x043E}, {"mt", 0x043A}, {"nb", 0x0414}, {"nl", 0x0413}, {"nn", 0x0814},
    {"no", 0x0414}, {"pl", 0x0415}, {"pt", 0x0416}, {"ro", 0x0418}, {"ru", 0x0419}, {"sk", 0x041B},
    {"sl", 0x0424}, {"sq", 0x041C}, {"sr", 0x281A}, {"sv", 0x041D}, {"th", 0x041E}, {"tr", 0x041F},
    {"uk", 0x0422}, {"vi", 0x042A}, {"zh", 0x0804},
};

template <std::size_t N>
std::optional<std::uint16_t> find(const LocaleId (&table)[N], std::string_view name) {
    const auto it = std::find_if(std::begin(table), std::end(table),
                                 [name](const LocaleId& e) { return e.name == name; });
    return it == std::end(table) ? std::nullopt : std::optional<std::uint16_t>(it->id);
}

} // namespace

std::optional<std::uint16_t> langIdForLocale(std::string_view localeName) {
    // "de_AT.UTF-8@euro" -> "de_AT"; BCP 47 writes "de-AT".
    std::string name(localeName.substr(0, localeName.find_first_of(".@")));
    std::replace(name.begin(), name.end(), '-', '_');
    if (name == "C" || name == "POSIX") {
        return 0x0409;
    }
    if (const auto id = find(countryIds, name)) {
        return id;
    }
    // A script or an unlisted country: "sr_Latn_RS", "de_BE" -> the language's main id.
    return find(languageIds, std::string_view(name).substr(0, name.find('_')));
}

} // namespace tavrel
