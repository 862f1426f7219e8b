// Sets the user's nation for one test and restores it afterwards.
#pragma once

#include <windows.h>

namespace qxtest {

class UserNation {
 public:
  explicit UserNation(GEOID nation) : saved_(GetUserGeoID(GEOCLASS_NATION)) { SetUserGeoID(nation); }
  ~UserNation() { SetUserGeoID(saved_); }
  UserNation(const UserNation &) = delete;
  UserNation &operator=(const UserNation &) = delete;

  // No nation at all: SetUserGeoID refuses one, so the stored setting goes.
  static bool MakeUnavailable() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International\\Geo", 0, KEY_SET_VALUE, &key)) return false;
    LSTATUS rc = RegSetValueExW(key, L"Nation", 0, REG_SZ, reinterpret_cast<const BYTE *>(L"-1"), 3 * sizeof(WCHAR));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && GetUserGeoID(GEOCLASS_NATION) == GEOID_NOT_AVAILABLE;
  }

 private:
  GEOID saved_;
};

}  // namespace qxtest
