#include "cli/FieldWords.h"

#include <algorithm>
#include <iterator>

namespace {

struct FieldWords {
    std::string_view name;
    std::string_view jsonKey;
    std::string_view english;
    std::string_view chinese;
};

constexpr FieldWords kFieldWords[] = {
    {"station", "stationName", "station name; the file is renamed after it",
     "测站名；文件按它重命名"},
    {"station-code", "stationCode", "station code", "测站编码"},
    {"antenna-height", "antennaHeight", "antenna height in metres, kept to mm",
     "天线高，单位米，保留到毫米"},
    {"antenna-type", "antennaTypeName", "antenna type, a name of the antenna catalogue",
     "天线类型，天线列表中的名称"},
    {"antenna-number", "antennaNumber", "antenna number", "天线号"},
    {"measure-to", "measureTo", "what the height is measured to: 0..3 or label",
     "天线高量到何处：0..3 或标签"},
    {"receiver-number", "receiverNumber", "receiver number", "接收机号"},
    {"receiver-type", "receiverType", "receiver type", "接收机类型"},
    {"receiver-version", "receiverVersion", "receiver version", "接收机版本"},
    {"x", "approxX", "approximate coordinate X", "近似坐标 X"},
    {"y", "approxY", "approximate coordinate Y", "近似坐标 Y"},
    {"z", "approxZ", "approximate coordinate Z", "近似坐标 Z"},
    {"interval", "interval", "observation interval in seconds", "观测间隔，单位秒"},
    {"leap-seconds", "leapSeconds", "leap seconds", "跳秒"},
    {"time-of-first-obs", "timeOfFirstObs", "time of the first observation", "起始观测时间"},
    {"date", "dateText", "recording date as the file holds it", "文件中的记录日期"},
    {"receiver-id", "receiverIdText", "receiver identifier as the file holds it",
     "文件中的接收机标识"},
    {"version", "version", "header format version", "文件头格式版本"},
    {"height-offset", "heightOffset", "height offset", "高度偏移"},
    {"antenna-type-index", "antennaTypeIndex", "position of the antenna type in the catalogue",
     "天线类型在天线列表中的位置"},
    {"header-region-length", "headerRegionLength", "bytes of the file the header occupies",
     "文件头占用的字节数"},
};

const FieldWords& WordsOf(const RecordField& field) {
    return *std::find_if(std::begin(kFieldWords), std::end(kFieldWords),
                         [&](const FieldWords& words) { return words.name == field.name; });
}

}  // namespace

std::string_view JsonKeyOf(const RecordField& field) {
    return WordsOf(field).jsonKey;
}

std::string_view MeaningOf(const RecordField& field, Language language) {
    const FieldWords& words = WordsOf(field);
    return language == Language::Chinese ? words.chinese : words.english;
}
