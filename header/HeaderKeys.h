#pragma once

#include <string_view>

// The keys that begin the header's lines, for the reader, the writer and the field table alike.
inline constexpr std::string_view kVersionKey = "ver";
inline constexpr std::string_view kReceiverIdKey = "ReceiverID:";
inline constexpr std::string_view kDateKey = "Date:";
inline constexpr std::string_view kModelKey = "Model:";
inline constexpr std::string_view kAntHighKey = "AntHigh:";
inline constexpr std::string_view kHeightOffsetKey = "HEIGHT OFFSET:";
inline constexpr std::string_view kAntTypeKey = "AntType:";
inline constexpr std::string_view kMeasureToKey = "MeasureTo:";
// What older headers call "MeasureTo:"; read, never written.
inline constexpr std::string_view kMeasuredToKey = "MeasuredTo:";
inline constexpr std::string_view kXKey = "X:";
inline constexpr std::string_view kYKey = "Y:";
inline constexpr std::string_view kZKey = "Z:";
inline constexpr std::string_view kMarkerNameKey = "MARKER NAME:";
inline constexpr std::string_view kMarkerNumberKey = "MARKER NUMBER:";
inline constexpr std::string_view kRecNumberKey = "REC #:";
inline constexpr std::string_view kRecTypeKey = "REC TYPE:";
inline constexpr std::string_view kRecVersKey = "REC VERS:";
inline constexpr std::string_view kAntNumberKey = "ANT #:";
inline constexpr std::string_view kAntTypeNameKey = "ANT TYPE:";
inline constexpr std::string_view kIntervalKey = "INTERVAL:";
inline constexpr std::string_view kTimeOfFirstObsKey = "TIME OF FIRST OBS:";
inline constexpr std::string_view kLeapSecondsKey = "LEAP SECONDS:";
