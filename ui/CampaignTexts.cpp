#include "ui/CampaignTexts.h"

#include <array>
#include <utility>

#include "header/CLocaleNumbers.h"
#include "platform/Utf8.h"
#include "ui/MessageTable.h"

namespace {

// The editor dialog's labels, so that the window and the dialog name a field alike.
constexpr std::array<std::pair<std::string_view, const wchar_t*>, 13> kFieldLabels = {{
    {"station", L"点名"},
    {"station-code", L"点编码"},
    {"antenna-height", L"天线高(m)"},
    {"antenna-type", L"天线类型"},
    // Not in the editor, which keeps it with the antenna type; the save preview shows it change.
    {"antenna-type-index", L"天线类型序号"},
    {"antenna-number", L"天线号"},
    {"measure-to", L"天线高测量到"},
    {"receiver-number", L"接收机号"},
    {"receiver-type", L"接收机类型"},
    {"receiver-version", L"接收机版本"},
    {"x", L"近似坐标X"},
    {"y", L"近似坐标Y"},
    {"z", L"近似坐标Z"},
}};

std::wstring Quoted(const std::wstring& text) {
    return L"“" + text + L"”";
}

std::wstring FileCount(size_t count) {
    return std::to_wstring(count) + L" 个文件";
}

std::wstring OtherTypes(const Finding& finding) {
    std::wstring others;
    for (const auto& [type, count] : finding.otherTypes)
        others += (others.empty() ? L"" : L"、") + Quoted(type) + L"见于 " + FileCount(count);
    return others;
}

std::wstring FieldValueText(const FieldValueProblem& problem) {
    const std::wstring label = FieldLabel(problem.field);
    switch (problem.fault) {
        case FieldValueFault::ReadOnly:
            return label + L"不能修改";
        case FieldValueFault::NotANumber:
            return label + L"需要一个数字，而不是" + Quoted(problem.value);
        case FieldValueFault::NotANumberOfMetres:
            return label + L"需要一个以米为单位的数字（如 1.5），而不是" + Quoted(problem.value);
        case FieldValueFault::OutOfRange:
            return label + Quoted(problem.value) + L"超出范围";
        case FieldValueFault::NotInCatalogue: {
            std::wstring closest;
            for (const std::wstring& name : problem.closest)
                closest += (closest.empty() ? L"" : L"、") + name;
            return label + Quoted(problem.value) + L"不在天线列表中" +
                   (closest.empty() ? L"" : L"；最接近的：" + closest);
        }
        case FieldValueFault::NotAMeasureTo:
            return label + L"应为 0、1、2、3 或列表中的一项";
    }
    return label;
}

std::wstring NameClashText(const NameClash& clash) {
    switch (clash.kind) {
        case NameClashKind::None:
            return {};
        case NameClashKind::GivenTwice:
            return L"文件在本批中出现了两次，未保存";
        case NameClashKind::NameOfAnotherFile:
            return L"新文件名 " + clash.newPath + L" 是本批另一个文件的名字，未保存";
        case NameClashKind::SameNewName:
            return L"新文件名 " + clash.newPath + L" 与 " + clash.other +
                   L" 的新文件名相同，未保存";
    }
    return {};
}

// The system's reason without the path it names on a line of its own, which for a copy's failure
// is the temporary file's.
std::wstring FirstLine(const std::wstring& text) {
    return text.substr(0, text.find_first_of(L"\r\n"));
}

std::wstring WithReason(const std::wstring& text, const std::wstring& error) {
    return error.empty() ? text : text + L"：" + FirstLine(error);
}

// One line, for a row's note and a line of the summary, which name the file already.
std::wstring WriteProblemText(const RewriteOutcome& written) {
    if (written.refusal == RewriteRefusal::CannotOpen)
        return WithReason(RefusalReason(written.refusal), written.error);
    if (written.refusal != RewriteRefusal::None)
        return RefusalReason(written.refusal);
    switch (written.onDisk) {
        case OnDisk::SavedOldKept:
            return L"新文件已保存为 " + written.path +
                   L"，但保存期间有其他程序修改或移动了原文件，原文件也已保留，请核对";
        case OnDisk::WrittenNotRenamed:
            return WithReason(L"新文件头已写入，但文件未能改名", written.error);
        case OnDisk::Torn:
            return WithReason(L"写入中断，原文件头未能恢复，请核对文件", written.error);
        case OnDisk::Unchanged:
            return WithReason(L"未写入", written.error);
        case OnDisk::Saved:
            break;
    }
    return L"已写入；" + FirstLine(written.error);
}

// Whether the problem's text says itself that the file was not written, or what a write left.
bool SaysWhatTheDiskHolds(SetProblem problem) {
    return problem != SetProblem::Unreadable && problem != SetProblem::FieldValue &&
           problem != SetProblem::ValueRefused;
}

}  // namespace

std::wstring SaveProblemText(const SetFileResult& result) {
    switch (result.problem) {
        case SetProblem::None:
            return {};
        case SetProblem::Unreadable:
            return UnreadableText(result.readFailure);
        case SetProblem::EmptyCatalogue:
            return L"天线类型列表为空，无法保存！";
        case SetProblem::FieldValue:
            return FieldValueText(result.fieldProblem);
        case SetProblem::ValueRefused:
            return ValueProblemText(result.valueProblem);
        case SetProblem::HeaderTooLong:
            return L"文件头信息过长，无法保存！";
        case SetProblem::ChangedWhilePlanned:
        case SetProblem::ChangedSinceRead:
            return L"文件在读取后已被其他程序修改，未保存；请重新读取";
        case SetProblem::NameClash:
            return NameClashText(result.clash);
        case SetProblem::TargetExists:
            return L"文件已存在，未保存：" + result.target;
        case SetProblem::JournalStopped:
            return L"日志无法写入，未保存：" + result.journalError;
        case SetProblem::NameNotJournalled:
            return L"日志无法为撤销再次找到它（路径不是有效的文字，或超出系统可接受的长度），未保存"
                   L"；请重命名该文件或其文件夹";
        case SetProblem::Rewrite:
            return WriteProblemText(result.written);
    }
    return {};
}

std::wstring FieldLabel(std::string_view field) {
    for (const auto& [name, label] : kFieldLabels) {
        if (name == field)
            return label;
    }
    return std::wstring(field.begin(), field.end());
}

std::wstring ColumnTitle(size_t column) {
    if (column == kFileNameColumn)
        return L"文件";
    if (column == FindingsColumn())
        return L"发现";
    return FieldLabel(SheetFields()[column - 1]->name);
}

std::wstring UnreadableText(const ReadFailure& failure) {
    if (!failure.systemReason.empty())
        return FirstLine(failure.systemReason);
    std::wstring text;
    for (const ReaderMessage message : failure.messages)
        text += (text.empty() ? L"" : L"；") + ReaderMessageText(message, L"");
    return text.empty() ? L"无法读取文件头" : text;
}

std::wstring FindingText(const Finding& finding) {
    switch (finding.code) {
        case FindingCode::Unreadable:
            return UnreadableText(finding.failure);
        case FindingCode::NameMismatch:
            return L"文件名中的测站为" + Quoted(finding.other) + L"，文件头的 MARKER NAME: 为" +
                   Quoted(finding.value);
        case FindingCode::UnknownAntenna:
            return Quoted(finding.value) + L"不在天线列表中；程序会显示" + Quoted(finding.other);
        case FindingCode::HeightMissing:
            return L"天线高为 0";
        case FindingCode::HeightRange:
            return L"天线高 " + finding.value + L" 米不在 0 到 5 米之间";
        case FindingCode::MeasureToUnknown:
            return L"量高方式代码为 0：不知道天线高量到何处";
        case FindingCode::CoordinatesMissing:
            return L"近似坐标 X、Y、Z 均为 0";
        case FindingCode::StationSpread:
            return L"距测站" + Quoted(finding.value) + L"的 " + FileCount(finding.fileCount) +
                   L"的中位位置 " + FromUtf8(FormatFixed(finding.metres, 1)) + L" 米";
        case FindingCode::ReceiverMismatch:
            return L"接收机" + Quoted(finding.other) + L"在此为" + Quoted(finding.value) + L"，但" +
                   OtherTypes(finding);
        case FindingCode::LogMismatch:
            return FieldLabel(finding.field) + L"在文件中为" + Quoted(finding.value) +
                   L"，在外业记录中为" + Quoted(finding.other);
        case FindingCode::LogMissing:
            return finding.row < 0 ? L"外业记录中没有它的行" : L"外业记录的这一行没有对应的文件";
    }
    return {};
}

std::wstring CellRefusalText(const CellRefusal& refusal) {
    switch (refusal.reason) {
        case CellRefusal::Reason::Unreadable:
            return L"该文件无法读取，没有可修改的字段";
        case CellRefusal::Reason::FieldValue:
            return FieldValueText(refusal.fieldProblem);
        case CellRefusal::Reason::ValueRefused:
            return ValueProblemText(refusal.valueProblem);
        case CellRefusal::Reason::HeaderTooLong:
            return L"文件头信息过长，无法保存！";
    }
    return {};
}

std::wstring SetFileText(const std::wstring& path, const SetFileResult& result, bool planned) {
    std::wstring text = path + L"\r\n";
    if (result.problem != SetProblem::None && result.status == SetStatus::Failed) {
        const std::wstring problem = SaveProblemText(result);
        if (SaysWhatTheDiskHolds(result.problem))
            return text + L"    " + problem + L"\r\n";
        return text + (planned ? L"    不会保存：" : L"    未保存：") + problem + L"\r\n";
    }
    for (const FieldChange& change : result.changes)
        text += L"    " + FieldLabel(change.field) + L"：" + Quoted(change.before) + L" → " +
                Quoted(change.after) + L"\r\n";
    if (!result.newPath.empty())
        text += (planned ? L"    将重命名为 " : L"    已重命名为 ") + result.newPath +
                (result.replacing ? L"（替换已有的同名文件）" : L"") + L"\r\n";
    for (const Finding& warning : result.warnings)
        text += L"    注意：" + FindingText(warning) + L"\r\n";
    if (result.problem != SetProblem::None)
        text += L"    " + SaveProblemText(result) + L"\r\n";
    return text;
}

std::wstring SetSummaryText(const SetBatchResult& result, bool planned) {
    const auto& tally = result.tally;
    return std::wstring(planned ? L"将保存：" : L"已保存：") +
           std::to_wstring(tally[static_cast<size_t>(SetStatus::Changed)]) + L" 个修改，" +
           std::to_wstring(tally[static_cast<size_t>(SetStatus::Renamed)]) + L" 个重命名，" +
           std::to_wstring(tally[static_cast<size_t>(SetStatus::Unchanged)]) + L" 个不变，" +
           std::to_wstring(tally[static_cast<size_t>(SetStatus::Failed)]) + L" 个失败";
}

std::wstring JournalRefusalText(JournalRefusal refusal, const std::wstring& error) {
    switch (refusal) {
        case JournalRefusal::None:
            return {};
        case JournalRefusal::NoFolder:
            return L"系统没有为日志指定文件夹；未写入任何文件";
        case JournalRefusal::NotAJournal:
            return L"日志文件是其他类型的文件；未写入任何文件";
        case JournalRefusal::Unwritable:
            return L"无法写入日志：" + error + L"；未写入任何文件";
    }
    return error;
}

std::wstring TableErrorText(const TableError& error) {
    const std::wstring text = FromUtf8(error.text);
    std::wstring why;
    switch (error.problem) {
        case TableProblem::None:
            return {};
        case TableProblem::Unreadable:
            why = L"无法读取：" + error.systemError;
            break;
        case TableProblem::Empty:
            why = L"没有标题行";
            break;
        case TableProblem::UnclosedQuote:
            why = L"引号没有结束";
            break;
        case TableProblem::NulCharacter:
            why = L"含有 NUL 字符";
            break;
        case TableProblem::CellTooLong:
            why = L"单元格过长";
            break;
        case TableProblem::NotUtf8:
        case TableProblem::NotInNamedCodePage:
        case TableProblem::NotInAnyCodePage:
        case TableProblem::MixedEncodings:
            why = L"编码无法识别；请另存为 UTF-8 CSV";
            break;
        case TableProblem::DuplicateColumn:
            why = L"列“" + text + L"”出现了两次";
            break;
        case TableProblem::UnknownColumn:
            why = L"未知的列“" + text + L"”";
            break;
        case TableProblem::TwoKeyColumns:
            why = L"file 和 current-station 两列只能有一列";
            break;
        case TableProblem::NoKeyColumn:
            why = L"缺少 file 或 current-station 列";
            break;
        case TableProblem::CellCount:
            why = L"有 " + std::to_wstring(error.count) + L" 个单元格，标题行有 " +
                  std::to_wstring(error.expected) + L" 个";
            break;
        case TableProblem::DuplicateKey:
            why = L"“" + text + L"”与第 " + std::to_wstring(error.otherLine) + L" 行重复";
            break;
        case TableProblem::TooLarge:
            why = L"表格过大";
            break;
    }
    return L"外业记录无法使用" +
           (error.line > 0 ? L"（第 " + std::to_wstring(error.line) + L" 行）" : std::wstring()) +
           L"：" + why;
}

std::wstring BatchLine(const BatchSummary& batch) {
    const size_t files = batch.FileCount();
    const size_t left = batch.FilesToTakeBack();
    std::wstring line = FromUtf8(batch.info.id) + L"  " + FromUtf8(batch.info.time) + L"  " +
                        FileCount(files) + L"  ";
    if (batch.TakenBack())
        line += batch.FilesLeftAlone() > 0 ? L"已撤销（此后被修改的文件除外）  " : L"已撤销  ";
    else if (left < files && !batch.info.undoes)
        line += std::to_wstring(left) + L" 个待撤销  ";
    return line + FromUtf8(batch.info.command);
}

std::wstring UndoProblemText(const UndoFileResult& result) {
    switch (result.problem) {
        case UndoProblem::None:
            return {};
        case UndoProblem::JournalLineUnreadable:
            return L"日志中此文件的行无法读取；未处理";
        case UndoProblem::Unreadable:
            return L"现在无法读取；可以再撤销一次";
        case UndoProblem::ChangedSince:
            return L"该批次之后已被修改；未处理";
        case UndoProblem::Missing:
            return L"已不存在；未处理";
        case UndoProblem::Restore:
            return WriteProblemText(result.written);
    }
    return {};
}

std::wstring UndoSummaryText(const std::string& batchId, const UndoBatchResult& result) {
    const auto& tally = result.tally;
    return L"批次 " + FromUtf8(batchId) + L"，" + FileCount(result.fileCount) + L"：" +
           std::to_wstring(tally[0]) + L" 个已恢复，" + std::to_wstring(tally[1]) + L" 个未改变，" +
           std::to_wstring(tally[2]) + L" 个此后被修改，" + std::to_wstring(tally[3]) +
           L" 个缺失，" + std::to_wstring(tally[4]) + L" 个失败";
}
