#!/usr/bin/env bash
# Writes the synthetic raw files under samples/: a header of CR LF text lines followed by bytes
# that stand for a receiver's binary observation data.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../samples"

observation_data() {
    perl -e 'print pack("C*", map { ($_ * 37 + 11) % 256 } 0 .. ($ARGV[0] - 1))' "$1"
}

raw_file() {
    local name=$1 size=$2
    shift 2
    {
        printf '%s\r\n' "$@"
        observation_data "$size"
    } >"$name"
}

raw_file ABCD123A.TZR 4096 \
    "VELMORAN COLLECTED DATA FILE" "ver 2.1" "ReceiverID:SN0412345" "Date:2026-03-05" \
    "Model:DRQ-X5" "AntHigh:1.523" "HEIGHT OFFSET:0.000" "AntType:DRQK08" "MeasureTo:2" \
    "X:-2148744.1234" "Y:4426641.5678" "Z:4044656.9012" "MARKER NAME:ABCD" \
    "MARKER NUMBER:P01" "REC #:0412345" "REC TYPE:DRQ-X5" "REC VERS:3.2.1" "ANT #:A-99" \
    "ANT TYPE:DRQK08" "INTERVAL:15.0" "TIME OF FIRST OBS:2026  3  5  1  2  3.0000000" \
    "LEAP SECONDS:18"

# A station name in GBK (测站一), as a Chinese receiver writes it.
raw_file CESH045B.TZR 2048 \
    "VELMORAN COLLECTED DATA FILE" "ver 2.1" "ReceiverID:SN0467890" "Date:2026-02-14" \
    "Model:DRQ-X5" "AntHigh:0.982" "HEIGHT OFFSET:0.000" "AntType:DRQ-K09" "MeasureTo:3" \
    "X:-2150000.0000" "Y:4420000.0000" "Z:4040000.0000" \
    "MARKER NAME:$(printf '\xb2\xe2\xd5\xbe\xd2\xbb')" "MARKER NUMBER:GBK1" "REC #:0467890" \
    "REC TYPE:DRQ-X5" "REC VERS:3.2.1" "ANT #:B-17" "ANT TYPE:DRQ-K09" "INTERVAL:1.0" \
    "TIME OF FIRST OBS:2026  2 14  8  0  0.0000000" "LEAP SECONDS:18"

# An older header: antenna type by number, the older measure-to key, no station lines.
raw_file OLD0012A.TZR 1024 \
    "VELMORAN COLLECTED DATA FILE" "ver 1.0" "ReceiverID:SN0100007" "Date:2019-01-12" \
    "Model:DRQ-X1" "AntHigh:1.2" "AntType:3" "MeasuredTo:1"

# Not a raw file at all.
raw_file NOTRAW1A.TZR 512 "This is not a raw observation file."
