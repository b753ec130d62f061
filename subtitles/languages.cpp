#include "subtitles/languages.h"

#include <cstring>

namespace {

// A named language: its ISO 639-1 code, its ISO 639-2 codes (bibliographic, then
// terminology) and its English name in lower case, as file names spell it.
struct NamedLanguage {
    const char *two;
    const char *bibliographic;
    const char *terminology;
    const char *name;
};

// In the order of their names in the string table.
constexpr NamedLanguage kNamed[] = {
    {"en", "eng", "eng", "english"},    {"fr", "fre", "fra", "french"},
    {"de", "ger", "deu", "german"},     {"es", "spa", "spa", "spanish"},
    {"it", "ita", "ita", "italian"},    {"pt", "por", "por", "portuguese"},
    {"nl", "dut", "nld", "dutch"},      {"sv", "swe", "swe", "swedish"},
    {"no", "nor", "nor", "norwegian"},  {"da", "dan", "dan", "danish"},
    {"fi", "fin", "fin", "finnish"},    {"is", "ice", "isl", "icelandic"},
    {"pl", "pol", "pol", "polish"},     {"cs", "cze", "ces", "czech"},
    {"sk", "slo", "slk", "slovak"},     {"sl", "slv", "slv", "slovenian"},
    {"hu", "hun", "hun", "hungarian"},  {"ro", "rum", "ron", "romanian"},
    {"bg", "bul", "bul", "bulgarian"},  {"hr", "hrv", "hrv", "croatian"},
    {"sr", "srp", "srp", "serbian"},    {"bs", "bos", "bos", "bosnian"},
    {"mk", "mac", "mkd", "macedonian"}, {"el", "gre", "ell", "greek"},
    {"ru", "rus", "rus", "russian"},    {"uk", "ukr", "ukr", "ukrainian"},
    {"be", "bel", "bel", "belarusian"}, {"et", "est", "est", "estonian"},
    {"lv", "lav", "lav", "latvian"},    {"lt", "lit", "lit", "lithuanian"},
    {"tr", "tur", "tur", "turkish"},    {"ar", "ara", "ara", "arabic"},
    {"he", "heb", "heb", "hebrew"},     {"fa", "per", "fas", "persian"},
    {"hi", "hin", "hin", "hindi"},      {"bn", "ben", "ben", "bengali"},
    {"ta", "tam", "tam", "tamil"},      {"te", "tel", "tel", "telugu"},
    {"ur", "urd", "urd", "urdu"},       {"th", "tha", "tha", "thai"},
    {"vi", "vie", "vie", "vietnamese"}, {"id", "ind", "ind", "indonesian"},
    {"ms", "may", "msa", "malay"},      {"tl", "tgl", "tgl", "tagalog"},
    {"zh", "chi", "zho", "chinese"},    {"ja", "jpn", "jpn", "japanese"},
    {"ko", "kor", "kor", "korean"},     {"ca", "cat", "cat", "catalan"},
    {"eu", "baq", "eus", "basque"},     {"gl", "glg", "glg", "galician"},
    {"cy", "wel", "cym", "welsh"},      {"ga", "gle", "gle", "irish"},
    {"la", "lat", "lat", "latin"},      {"sq", "alb", "sqi", "albanian"},
    {"hy", "arm", "hye", "armenian"},   {"ka", "geo", "kat", "georgian"},
    {"af", "afr", "afr", "afrikaans"},  {"sw", "swa", "swa", "swahili"},
};
static_assert(sizeof kNamed / sizeof kNamed[0] == kNamedLanguageCount,
              "one string-table name per named language");

// Other words for a named language: Norwegian's written forms, and names that
// subtitle sites give files.
struct Alias {
    const char *word;
    const char *two;
};
constexpr Alias kAliases[] = {
    {"nb", "no"},        {"nn", "no"},    {"nob", "no"},     {"nno", "no"},
    {"brazilian", "pt"}, {"farsi", "fa"}, {"slovene", "sl"}, {"filipino", "tl"},
};

// Every ISO 639-1 code, two letters each.
constexpr char kTwoLetterCodes[] =
    "aaabaeafakamanarasavayazbabebgbhbibmbnbobrbscacechcocrcscucvcydadedvdzeeeleneoeseteu"
    "fafffifjfofrfygagdglgngugvhahehihohrhthuhyhziaidieigiiikioisitiujajvkakgkikjkkklkmkn"
    "kokrkskukvkwkylalblglilnloltlulvmgmhmimkmlmnmrmsmtmynanbndnengnlnnnonrnvnyocojomoros"
    "papiplpsptqurmrnrorurwsascsdsesgsiskslsmsnsosqsrssstsusvswtatetgthtitktltntotrtstttw"
    "tyugukuruzvevivowawoxhyiyozazhzu";
static_assert(sizeof kTwoLetterCodes == 2 * 184 + 1, "the 184 codes of ISO 639-1");

// The longest word that names a language ("portuguese", "vietnamese").
constexpr size_t kLongestWord = 10;

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsTwoLetterCode(const char *lower)
{
    for (size_t i = 0; i + 1 < sizeof kTwoLetterCodes; i += 2)
        if (kTwoLetterCodes[i] == lower[0] && kTwoLetterCodes[i + 1] == lower[1])
            return true;
    return false;
}

Language Named(const char *two)
{
    Language language{{two[0], two[1], '\0', '\0'}, -1};
    for (int i = 0; i < kNamedLanguageCount; ++i)
        if (strcmp(kNamed[i].two, two) == 0)
            language.named = i;
    return language;
}

} // namespace

Language LanguageOfWord(const char *word, size_t length, bool anyCode)
{
    char lower[kLongestWord + 1];
    if (length < 2 || length > kLongestWord)
        return Language{};
    for (size_t i = 0; i < length; ++i) {
        if (!IsLetter(word[i]))
            return Language{};
        lower[i] = static_cast<char>(word[i] | 0x20);
    }
    lower[length] = '\0';
    for (const Alias &alias : kAliases)
        if (strcmp(alias.word, lower) == 0)
            return Named(alias.two);
    if (length == 2)
        return IsTwoLetterCode(lower) ? Named(lower) : Language{};
    for (const NamedLanguage &named : kNamed)
        if (strcmp(named.bibliographic, lower) == 0 || strcmp(named.terminology, lower) == 0 ||
            strcmp(named.name, lower) == 0)
            return Named(named.two);
    if (length != 3 || !anyCode || strcmp(lower, "und") == 0 || strcmp(lower, "zxx") == 0)
        return Language{};
    return Language{{lower[0], lower[1], lower[2], '\0'}, -1};
}

Language LanguageOfTag(const char *tag)
{
    return LanguageOfWord(tag, strcspn(tag, "-_"), true);
}

bool SameLanguage(const Language &a, const Language &b)
{
    return a.key[0] != '\0' && strcmp(a.key, b.key) == 0;
}
