#pragma once

#include <cstdint>
#include <string>

#include "header/FileNameParts.h"
#include "header/FileSnapshot.h"

// One raw file's header as the editor holds and edits it.
struct StationHeader {
    static constexpr int32_t kMinimumRegionLength = 160;

    // Bytes exactly as the file holds them; written back unchanged.
    std::string receiverIdText;
    bool headerLoaded = false;
    // Leading bytes of the file that the header occupies; what follows is observation data.
    int32_t headerRegionLength = kMinimumRegionLength;
    double version = 0;
    // Bytes exactly as the file holds them; written back unchanged.
    std::string dateText;
    float antennaHeight = 0;
    float heightOffset = 0;
    std::wstring antennaHeightText;
    std::wstring stationName;
    std::wstring stationCode;
    std::wstring antennaNumber;
    std::wstring antennaTypeName;
    std::wstring receiverNumber;
    std::wstring receiverType;
    std::wstring receiverVersion;
    double approxX = 0;
    double approxY = 0;
    double approxZ = 0;
    double interval = 0;
    int32_t leapSeconds = 0;
    std::wstring timeOfFirstObs;
    int32_t antennaTypeIndex = 0;
    int32_t measureTo = 0;

    FileNameParts nameParts;
    FileSnapshot snapshot;

    // Empties the record for the next file; keeps headerLoaded and the name parts.
    void Reset();
};
