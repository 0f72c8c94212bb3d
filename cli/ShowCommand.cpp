#include "cli/ShowCommand.h"

#include "campaign/Csv.h"
#include "campaign/RecordCsv.h"
#include "campaign/TableEncoding.h"
#include "cli/CodePageHint.h"
#include "cli/FieldWords.h"
#include "cli/Json.h"
#include "cli/ReadProblem.h"
#include "header/FieldTable.h"
#include "header/HeaderReader.h"

namespace {

// The message as the editor shows it, whatever language tzrhdr speaks.
std::string EditorMessage(ReaderMessage message, const std::wstring& file) {
    std::string text = ReaderMessageText(message, Language::Chinese);
    if (message == ReaderMessage::CannotOpen)
        text += ToUtf8(file);
    return text;
}

void PrintJson(std::ostream& out, const std::wstring& file, const StationHeader& header,
               const std::vector<ReaderMessage>& messages, unsigned codePage) {
    out << "{\"file\": " << JsonString(file)
        << ", \"headerLoaded\": " << JsonBool(header.headerLoaded);
    for (const RecordField& field : RecordFields())
        out << ", \"" << JsonKeyOf(field)
            << "\": " << JsonFieldValue(field, field.print(header, codePage));
    out << ", \"messages\": [";
    for (size_t i = 0; i < messages.size(); ++i)
        out << (i == 0 ? "" : ", ") << JsonString(EditorMessage(messages[i], file));
    out << "], \"messageCodes\": [";
    for (size_t i = 0; i < messages.size(); ++i)
        out << (i == 0 ? "\"" : ", \"") << ReaderMessageCode(messages[i]) << "\"";
    out << "]}\n";
}

void PrintText(std::ostream& out, const std::wstring& file, const StationHeader& header,
               unsigned codePage) {
    out << ToUtf8(file) << "\n";
    for (const RecordField& field : RecordFields()) {
        const std::string padding(field.name.size() < 22 ? 22 - field.name.size() : 1, ' ');
        out << "  " << field.name << padding << ToUtf8(field.print(header, codePage)) << "\n";
    }
}

}  // namespace

int RunShow(const ShowRequest& request, const AntennaCatalogue& catalogue, std::ostream& out,
            std::ostream& err) {
    HeaderReadOptions readOptions;
    readOptions.codePage = request.codePage;
    CodePageHint hint(request.codePage, request.language);
    const bool csv = request.format == RecordFormat::Csv;
    if (csv)
        out << TableFileStart(request.csvCodePage)
            << TableFileText(CsvLine(RecordCsvColumns()), request.csvCodePage);
    int status = 0;
    for (const std::wstring& file : request.files) {
        StationHeader header;
        const std::vector<ReaderMessage> messages =
            ReadStationHeader(file, catalogue, header, readOptions).Messages();
        const std::string problem = ReadProblem(file, header, messages, request.language);
        const bool json = request.format == RecordFormat::Json;
        if (!problem.empty()) {
            status = 1;
            err << "tzrhdr: " << ToUtf8(file) << ": " << problem << "\n";
        } else if (!json) {
            for (const ReaderMessage message : messages)
                err << "tzrhdr: " << ToUtf8(file) << ": "
                    << ReaderMessageText(message, request.language) << "\n";
        }
        if (json)
            PrintJson(out, file, header, messages, request.codePage);
        if (!problem.empty())
            continue;
        hint.Check(header, err);
        if (csv)
            out << TableFileText(CsvLine(RecordCsvRow(file, header, request.codePage)),
                                 request.csvCodePage);
        else if (!json)
            PrintText(out, file, header, request.codePage);
    }
    return status;
}
