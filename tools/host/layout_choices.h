// The layout settings the driver shows as standard items (orientation, pages
// per sheet, their direction and order, booklet edge, borders, colour), taken
// from the command line as "key=value[,key=value]...", so printing
// preferences can open on a chosen layout.
#pragma once

#include <string>

#include "host/document_settings.h"

namespace qxhost {

// The keys and values AssignLayout takes, for usage messages.
extern const char kLayoutHelp[];

// Applies every "key=value" of `text` (keys and values in any case). On
// failure `layout` is unchanged and `message` says why. `colorDevice`: only
// a colour printer has the colour setting.
bool AssignLayout(const std::string &text, bool colorDevice, LayoutSettings *layout, std::string *message);

}  // namespace qxhost
