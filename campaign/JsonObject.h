#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// A JSON object whose values are all strings, numbers, booleans or null, as the lines of the
// journal are. Strings are kept decoded, in UTF-8; other values as their JSON text.
class JsonObject {
  public:
    // Nothing when the text is not one such object.
    static std::optional<JsonObject> Parse(std::string_view text);

    // The decoded string of a string member; nothing for a missing member or another kind.
    std::optional<std::string> Text(const std::string& key) const;
    // The JSON text of a number, true, false or null member.
    std::optional<std::string> Literal(const std::string& key) const;

  private:
    struct Value {
        bool isString;
        std::string text;
    };
    std::map<std::string, Value> members_;
};
