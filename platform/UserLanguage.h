#pragma once

#include <string>

// The language the system speaks to the user, as its ISO 639 code ("zh", "en"); empty when the
// system names none.
std::string UserLanguage();
