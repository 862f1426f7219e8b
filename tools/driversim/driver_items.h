// The driver's option items (OPTITEM) as the PostScript driver hands them to
// the plug-in, with everything they point to kept alive and in place for the
// object's lifetime.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/printoem.h"

namespace qxsim {

class DriverItems {
 public:
  DriverItems() { items_.reserve(kCapacity); }
  DriverItems(const DriverItems &) = delete;
  DriverItems &operator=(const DriverItems &) = delete;

  // An item named by a text; `keyword` is the PPD keyword without asterisk
  // (null: no user data); one list option per text, "#123" standing for the
  // driver's resource id 123.
  OPTITEM &Add(const std::wstring &name, DWORD dmPubId, const char *keyword, const std::vector<std::wstring> &options,
               LONG sel = 0, BYTE level = 1);
  // An item whose name is a resource id of the driver.
  OPTITEM &AddById(ULONG_PTR nameId, DWORD dmPubId, const char *keyword, const std::vector<std::wstring> &options,
                   LONG sel = 0, BYTE level = 1);
  // A nameless item of level 0 with `optionCount` list options without
  // texts (0: no option type at all).
  OPTITEM &AddUnnamed(DWORD dmPubId, const char *keyword, WORD optionCount, LONG sel = 0);

  OPTITEM *data() { return items_.data(); }
  DWORD count() const { return static_cast<DWORD>(items_.size()); }
  OPTITEM &operator[](size_t i) { return items_[i]; }
  // The first item with the public id, or null.
  OPTITEM *Find(BYTE dmPubId);

  // Flags of option k of an item.
  static DWORD ParamFlags(const OPTITEM &item, LONG k) { return item.pOptType->pOptParam[k].Flags; }
  // Option flags of the whole item, one entry per option.
  static std::vector<DWORD> AllParamFlags(const OPTITEM &item);

 private:
  static constexpr size_t kCapacity = 64;  // items must never move

  OPTITEM &AddItem(DWORD dmPubId, const char *keyword, std::vector<OPTPARAM> params, LONG sel, BYTE level);
  std::vector<OPTPARAM> ListParams(const std::vector<std::wstring> &options);

  std::vector<OPTITEM> items_;
  std::deque<std::wstring> texts_;
  std::deque<std::string> keywords_;
  std::deque<USERDATA> userData_;
  std::deque<std::vector<OPTPARAM>> params_;
  std::deque<OPTTYPE> types_;
};

}  // namespace qxsim
