#include "driversim/driver_items.h"

#include <cstdlib>

namespace qxsim {

OPTITEM &DriverItems::Add(const std::wstring &name, DWORD dmPubId, const char *keyword,
                          const std::vector<std::wstring> &options, LONG sel, BYTE level) {
  OPTITEM &item = AddItem(dmPubId, keyword, ListParams(options), sel, level);
  texts_.push_back(name);
  item.pName = const_cast<LPWSTR>(texts_.back().c_str());
  return item;
}

OPTITEM &DriverItems::AddById(ULONG_PTR nameId, DWORD dmPubId, const char *keyword,
                              const std::vector<std::wstring> &options, LONG sel, BYTE level) {
  OPTITEM &item = AddItem(dmPubId, keyword, ListParams(options), sel, level);
  item.pName = reinterpret_cast<LPWSTR>(nameId);
  return item;
}

OPTITEM &DriverItems::AddUnnamed(DWORD dmPubId, const char *keyword, WORD optionCount, LONG sel) {
  std::vector<OPTPARAM> params(optionCount);
  for (OPTPARAM &param : params) param.cbSize = sizeof(OPTPARAM);
  return AddItem(dmPubId, keyword, std::move(params), sel, 0);
}

OPTITEM *DriverItems::Find(BYTE dmPubId) {
  for (OPTITEM &item : items_)
    if (item.DMPubID == dmPubId) return &item;
  return nullptr;
}

std::vector<DWORD> DriverItems::AllParamFlags(const OPTITEM &item) {
  std::vector<DWORD> flags;
  for (LONG k = 0; item.pOptType && k < item.pOptType->Count; ++k) flags.push_back(ParamFlags(item, k));
  return flags;
}

std::vector<OPTPARAM> DriverItems::ListParams(const std::vector<std::wstring> &options) {
  std::vector<OPTPARAM> params;
  for (const std::wstring &text : options) {
    OPTPARAM param = {};
    param.cbSize = sizeof(OPTPARAM);
    if (!text.empty() && text[0] == L'#') {
      param.pData = reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(std::stoul(text.substr(1))));
    } else {
      texts_.push_back(text);
      param.pData = const_cast<LPWSTR>(texts_.back().c_str());
    }
    params.push_back(param);
  }
  return params;
}

OPTITEM &DriverItems::AddItem(DWORD dmPubId, const char *keyword, std::vector<OPTPARAM> params, LONG sel,
                              BYTE level) {
  if (items_.size() == kCapacity) std::abort();
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
  if (!params.empty()) {
    params_.push_back(std::move(params));
    OPTTYPE type = {};
    type.cbSize = sizeof(OPTTYPE);
    type.Type = TVOT_LISTBOX;
    type.Count = static_cast<WORD>(params_.back().size());
    type.pOptParam = params_.back().data();
    types_.push_back(type);
    item.pOptType = &types_.back();
  }
  items_.push_back(item);
  return items_.back();
}

}  // namespace qxsim
