// The plug-in's eight languages, as its string tables are marked: the
// language-neutral tables hold the English texts, seven tables translate them.
#pragma once

#include <windows.h>

#include <ostream>
#include <vector>

namespace qxtest {

struct Language {
  LANGID id;
  const char *name;
};

inline const Language kNeutral = {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), "neutral"};
inline const Language kTranslations[] = {
    {MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), "German"},
    {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), "French"},
    {MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN), "Italian"},
    {MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), "Japanese"},
    {MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH), "Dutch"},
    {MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), "Portuguese"},
    {MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN), "Spanish"},
};

inline void PrintTo(const Language &language, std::ostream *out) { *out << language.name; }

// All eight, the neutral one first.
inline std::vector<Language> AllLanguages() {
  std::vector<Language> all = {kNeutral};
  all.insert(all.end(), std::begin(kTranslations), std::end(kTranslations));
  return all;
}

}  // namespace qxtest
