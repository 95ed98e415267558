#include "tools/gallery/Languages.h"

namespace gallery {

const std::vector<Language>& InstallerLanguages() {
    static const std::vector<Language> languages = {
        {"en-US", "en_US.UTF-8", "English (United States)"},
        {"ko-KR", "ko_KR.UTF-8", "Korean"},
        {"ar-SA", "ar_SA.UTF-8", "Arabic"},
        {"zh-CN", "zh_CN.UTF-8", "Chinese (Simplified)"},
        {"zh-TW", "zh_TW.UTF-8", "Chinese (Traditional)"},
        {"ja-JP", "ja_JP.UTF-8", "Japanese"},
        {"de-DE", "de_DE.UTF-8", "German"},
        {"fr-FR", "fr_FR.UTF-8", "French"},
        {"it-IT", "it_IT.UTF-8", "Italian"},
        {"es-ES", "es_ES.UTF-8", "Spanish (Spain)"},
        {"pt-BR", "pt_BR.UTF-8", "Portuguese (Brazil)"},
        {"pt-PT", "pt_PT.UTF-8", "Portuguese (Portugal)"},
        {"pl-PL", "pl_PL.UTF-8", "Polish"},
        {"ru-RU", "ru_RU.UTF-8", "Russian"},
        {"id-ID", "id_ID.UTF-8", "Indonesian"},
    };
    return languages;
}

} // namespace gallery
