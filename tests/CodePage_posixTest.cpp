#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/CodePage.h"

namespace {

// Sets LC_ALL for one test and puts the old value back.
class ScopedLocaleVariable {
  public:
    explicit ScopedLocaleVariable(const char* value) {
        if (const char* old = std::getenv("LC_ALL"))
            old_ = old;
        setenv("LC_ALL", value, 1);
    }
    ~ScopedLocaleVariable() {
        if (old_)
            setenv("LC_ALL", old_->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }

  private:
    std::optional<std::string> old_;
};

struct LocaleCase {
    const char* locale;
    unsigned ansi;
    unsigned oem;
};

TEST(CodePagePosix, SystemCodePagesFollowTheLocaleAsOnWindows) {
    const LocaleCase cases[] = {
        {"zh_CN.UTF-8", 936, 936}, {"zh_TW.UTF-8", 950, 950},  {"ja_JP.UTF-8", 932, 932},
        {"ko_KR.UTF-8", 949, 949}, {"ru_RU.UTF-8", 1251, 866}, {"de_DE.UTF-8", 1252, 437},
        {"C", 1252, 437},
    };
    for (const LocaleCase& c : cases) {
        const ScopedLocaleVariable locale(c.locale);
        EXPECT_EQ(AnsiCodePage(), c.ansi) << c.locale;
        EXPECT_EQ(OemCodePage(), c.oem) << c.locale;
    }
}

}  // namespace
