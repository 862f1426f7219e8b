// Stand-ins for the PostScript driver in the option tree tests: its
// IPrintOemDriverUI, the option items it builds from a PPD, and its calls
// that open a sheet.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/printoem.h"
#include "support/fake_driver_ui.h"

namespace qxtest {

// The driver's option items, with everything they point to kept alive and
// in place for the object's lifetime.
class DriverItems {
 public:
  DriverItems() { items_.reserve(kCapacity); }
  DriverItems(const DriverItems &) = delete;
  DriverItems &operator=(const DriverItems &) = delete;

  // An item named by a text; `keyword` is the PPD keyword without asterisk
  // (null: no user data); one option parameter per text.
  OPTITEM &Add(const std::wstring &name, DWORD dmPubId, const char *keyword, const std::vector<std::wstring> &options,
               LONG sel = 0, BYTE level = 1) {
    OPTITEM &item = AddItem(dmPubId, keyword, options, sel, level);
    texts_.push_back(name);
    item.pName = const_cast<LPWSTR>(texts_.back().c_str());
    return item;
  }

  // An item whose name is a resource id of the driver.
  OPTITEM &AddById(ULONG_PTR nameId, DWORD dmPubId, const char *keyword, const std::vector<std::wstring> &options,
                   LONG sel = 0, BYTE level = 1) {
    OPTITEM &item = AddItem(dmPubId, keyword, options, sel, level);
    item.pName = reinterpret_cast<LPWSTR>(nameId);
    return item;
  }

  OPTITEM *data() { return items_.data(); }
  DWORD count() const { return static_cast<DWORD>(items_.size()); }
  OPTITEM &operator[](size_t i) { return items_[i]; }

  // Flags of option k of an item.
  static DWORD ParamFlags(const OPTITEM &item, LONG k) { return item.pOptType->pOptParam[k].Flags; }
  // Option flags of the whole item, one entry per option.
  static std::vector<DWORD> AllParamFlags(const OPTITEM &item) {
    std::vector<DWORD> flags;
    for (LONG k = 0; item.pOptType && k < item.pOptType->Count; ++k) flags.push_back(ParamFlags(item, k));
    return flags;
  }

 private:
  static constexpr size_t kCapacity = 64;

  OPTITEM &AddItem(DWORD dmPubId, const char *keyword, const std::vector<std::wstring> &options, LONG sel,
                   BYTE level) {
    if (items_.size() == kCapacity) std::abort();  // items must never move
    OPTITEM item = {};
    item.cbSize = sizeof(OPTITEM);
    item.Level = level;
    item.Sel = sel;
    item.DMPubID = static_cast<BYTE>(dmPubId);
    if (keyword) {
      keywords_.emplace_back(keyword);
      USERDATA data = {};
      data.dwSize = sizeof(USERDATA);
      data.pKeyWordName = const_cast<PSTR>(keywords_.back().c_str());
      userData_.push_back(data);
      item.UserData = reinterpret_cast<ULONG_PTR>(&userData_.back());
    }
    if (!options.empty()) {
      params_.emplace_back();
      std::vector<OPTPARAM> &params = params_.back();
      for (const std::wstring &text : options) {
        OPTPARAM param = {};
        param.cbSize = sizeof(OPTPARAM);
        if (!text.empty() && text[0] == L'#') {  // "#123": the text is resource id 123
          param.pData = reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(std::stoul(text.substr(1))));
        } else {
          texts_.push_back(text);
          param.pData = const_cast<LPWSTR>(texts_.back().c_str());
        }
        params.push_back(param);
      }
      OPTTYPE type = {};
      type.cbSize = sizeof(OPTTYPE);
      type.Type = TVOT_LISTBOX;
      type.Count = static_cast<WORD>(params.size());
      type.pOptParam = params.data();
      types_.push_back(type);
      item.pOptType = &types_.back();
    }
    items_.push_back(item);
    return items_.back();
  }

  std::vector<OPTITEM> items_;
  std::deque<std::wstring> texts_;
  std::deque<std::string> keywords_;
  std::deque<USERDATA> userData_;
  std::deque<std::vector<OPTPARAM>> params_;
  std::deque<OPTTYPE> types_;
};

// The driver's block for a sheet over `items`, on the process heap.
inline OEMCUIPPARAM SheetParam(DriverItems &items, OEMUIOBJ *uiobj, HMODULE module, HANDLE printer) {
  OEMCUIPPARAM p = {};
  p.cbSize = sizeof p;
  p.poemuiobj = uiobj;
  p.hPrinter = printer;
  p.hModule = module;
  p.hOEMHeap = GetProcessHeap();
  p.pDrvOptItems = items.data();
  p.cDrvOptItems = items.count();
  return p;
}

// The driver's two calls for one sheet: count the plug-in's own items, then
// let it adjust the driver's (with an empty array of its own).
inline void OpenSheet(IPrintOemUI2 *plugin, OEMCUIPPARAM *p, DWORD mode = OEMCUIP_DOCPROP) {
  static OPTITEM noItems = {};
  ASSERT_EQ(plugin->CommonUIProp(mode, p), S_OK);
  p->pOEMOptItems = &noItems;
  ASSERT_EQ(plugin->CommonUIProp(mode, p), S_OK);
}

}  // namespace qxtest
