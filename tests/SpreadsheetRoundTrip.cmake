# The spreadsheet round trip through the built program: export the table with show --csv, edit
# it as a spreadsheet would, feed it back with set --from, then read the file again; at last
# undo both batches from the journal and find the file as it was.
#   -DTZRHDR=program -DRUNNER=emulator or empty -DWINDOWS_PATHS=ON for a Windows build under Wine
#   -DSAMPLE=raw file whose station is 测站一 -DWORK=scratch directory
# Header text is read in code page 936 (the test sets TZR_CODEPAGE).

function(program_path path result)
    if(WINDOWS_PATHS)
        string(REPLACE "/" "\\" path "Z:${path}")
    endif()
    set(${result} "${path}" PARENT_SCOPE)
endfunction()

# Runs tzrhdr with the arguments; its standard output goes to `output`. It reports in English
# whatever language the system speaks, as the checks below read its English words.
function(tzrhdr output)
    execute_process(COMMAND ${RUNNER} ${TZRHDR} --lang en ${ARGN}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "tzrhdr ${ARGN}: status ${status}\n${out}${err}")
    endif()
    set(${output} "${out}" PARENT_SCOPE)
endfunction()

function(expect text wanted)
    string(FIND "${text}" "${wanted}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "expected \"${wanted}\" in:\n${text}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(COPY ${SAMPLE} DESTINATION ${WORK})
program_path(${WORK}/CESH045B.TZR raw)
program_path(${WORK}/测站二045B.TZR renamed)
program_path(${WORK}/utf8.csv utf8Table)
program_path(${WORK}/ansi.csv ansiTable)
program_path(${WORK}/journal.jsonl journal)

# A UTF-8 table with a byte-order mark: the station becomes 测站二 and names the file.
tzrhdr(table show --csv ${raw})
expect("${table}" ",测站一,GBK1,0.982,")
string(REPLACE ",测站一," ",测站二," table "${table}")
file(WRITE ${WORK}/utf8.csv "${table}")
tzrhdr(report set --journal ${journal} --from ${utf8Table} ${raw})
expect("${report}" "renamed to ${renamed}")

# A table in the header code page: only the antenna height changes, the station stays.
tzrhdr(table show --csv --encoding ansi ${renamed})
string(REPLACE ",0.982," ",2.5," table "${table}")
file(WRITE ${WORK}/ansi.csv "${table}")
tzrhdr(report set --journal ${journal} --from ${ansiTable} ${renamed})
expect("${report}" "${renamed}: changed")

tzrhdr(record show --json ${renamed})
expect("${record}" "\"stationName\": \"测站二\", \"stationCode\": \"GBK1\", \"antennaHeight\": 2.500,")

tzrhdr(report undo --journal ${journal})
expect("${report}" "${renamed}: restored\n")
tzrhdr(report undo --journal ${journal})
expect("${report}" "${renamed}: restored, renamed back to ${raw}\n")
file(READ ${SAMPLE} original HEX)
file(READ ${WORK}/CESH045B.TZR restored HEX)
if(NOT original STREQUAL restored)
    message(FATAL_ERROR "undo did not restore CESH045B.TZR byte for byte")
endif()
