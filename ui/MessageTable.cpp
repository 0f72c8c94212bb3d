#include "ui/MessageTable.h"

#include <array>
#include <utility>

namespace {

// The dialog's own labels for the fields that the checks name.
constexpr std::array<std::pair<std::string_view, const wchar_t*>, 8> kFieldLabels = {{
    {"station", L"点名"},
    {"station-code", L"点编码"},
    {"antenna-type", L"天线类型"},
    {"antenna-number", L"天线号"},
    {"receiver-number", L"接收机号"},
    {"receiver-type", L"接收机类型"},
    {"receiver-version", L"接收机版本"},
    {"time-of-first-obs", L"起始观测时间"},
}};

std::wstring LabelOf(std::string_view field) {
    for (const auto& [name, label] : kFieldLabels) {
        if (name == field)
            return label;
    }
    return std::wstring(field.begin(), field.end());
}

}  // namespace

std::wstring ReaderMessageText(ReaderMessage message, const std::wstring& path) {
    switch (message) {
        case ReaderMessage::CannotOpen:
            return L"打开TZR文件失败" + path;
        case ReaderMessage::NoVersion:
            return L"未发现版本号(ver)，请确认文件是否为TZR格式";
        case ReaderMessage::NoReceiverId:
            return L"未发现SN号(ReceiverID)，请确认文件是否为TZR格式";
        case ReaderMessage::NoDate:
            return L"文件头未发现日期信息！";
        case ReaderMessage::DateTooLong:
            return L"数据异常！";
    }
    return {};
}

// An over-long date is shown as the framework shows a message without an icon of its own.
MessageIcon ReaderMessageIcon(ReaderMessage message) {
    return message == ReaderMessage::DateTooLong ? MessageIcon::Warning : MessageIcon::Error;
}

std::wstring ValueProblemText(const ValueProblem& problem) {
    const std::wstring label = L"“" + LabelOf(problem.field) + L"”";
    switch (problem.fault) {
        case ValueFault::ControlCharacter:
            return label + L"含有控制字符，会破坏文件头，未保存！";
        case ValueFault::NotAFileName:
            return label +
                   L"不能用作文件名：不能含有 \\ / : * ? \" < > |，不能是 . 或 ..，"
                   L"不能以点或空格结尾，不能是设备名（如 CON、NUL、COM1），未保存！";
        case ValueFault::NotInCodePage:
            return LostCharactersQuestion(problem);
        case ValueFault::NotANumber:
            return L"请输入一个数字。";
    }
    return label;
}

std::wstring LostCharactersQuestion(const ValueProblem& problem) {
    return L"“" + LabelOf(problem.field) + L"”中的字符“" + problem.characters +
           L"”无法写入文件头，将被写为“?”。\n是否仍然保存？";
}

std::wstring RefusalReason(RewriteRefusal refusal) {
    switch (refusal) {
        case RewriteRefusal::None:
            return {};
        case RewriteRefusal::CannotOpen:
            return L"打开TZR文件失败";
        case RewriteRefusal::InUse:
            return L"文件正被其他程序使用，未保存";
        case RewriteRefusal::Link:
            return L"文件是符号链接，为保护观测数据未保存，请打开链接所指的文件";
        case RewriteRefusal::ReadOnly:
            return L"文件为只读，未保存";
        case RewriteRefusal::HardLinked:
            return L"文件有多个硬链接，新文件头无法写入原处，未保存";
        case RewriteRefusal::ChangedSinceRead:
            return L"文件在读取后已被其他程序修改，未保存，请重新打开该文件";
        case RewriteRefusal::TargetExists:
            return L"文件已存在，未保存";
    }
    return {};
}

std::wstring RefusalText(RewriteRefusal refusal, const std::wstring& path,
                         const std::wstring& newPath) {
    if (refusal == RewriteRefusal::None)
        return {};
    if (refusal == RewriteRefusal::CannotOpen)
        return RefusalReason(refusal) + path;
    return RefusalReason(refusal) + L"：\n" +
           (refusal == RewriteRefusal::TargetExists ? newPath : path);
}

std::wstring PartlySavedText(OnDisk onDisk, const std::wstring& path, const std::wstring& newPath) {
    switch (onDisk) {
        case OnDisk::SavedOldKept:
            return L"新文件已保存为：\n" + newPath +
                   L"\n但保存期间有其他程序修改或移动了原文件，原文件已保留，请核对：\n" + path;
        case OnDisk::WrittenNotRenamed:
            return L"新文件头已写入，但文件未能改名，仍为：\n" + path;
        case OnDisk::Torn:
            return L"写入中断，原文件头未能恢复，请核对文件：\n" + path;
        default:
            return {};
    }
}
