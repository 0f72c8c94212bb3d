#include "cli/SaveProblemText.h"

#include "cli/ReadProblem.h"
#include "platform/Utf8.h"

std::string ValueProblemInEnglish(const ValueProblem& problem) {
    const std::string field(problem.field);
    switch (problem.fault) {
        case ValueFault::ControlCharacter:
            return field + " holds a control character, which would break the header";
        case ValueFault::NotAFileName:
            return field + " \"" + ToUtf8(problem.characters) +
                   "\" cannot be part of a Windows file name (no \\ / : * ? \" < > |, not . or .., "
                   "no device name such as CON or NUL)";
        case ValueFault::NotInCodePage:
            return field + " holds characters that the header's code page cannot hold: \"" +
                   ToUtf8(problem.characters) + "\" (see --codepage)";
        case ValueFault::NotANumber:
            return field + " \"" + ToUtf8(problem.characters) +
                   "\" is no number that the header can hold so that it reads back as written";
    }
    return field;
}

std::string RefusalInEnglish(RewriteRefusal refusal, const std::wstring& systemError) {
    switch (refusal) {
        case RewriteRefusal::None:
            return {};
        case RewriteRefusal::InUse:
            return "another program is using it; nothing written";
        case RewriteRefusal::Link:
            return "it is a symbolic link; nothing written (name the file it points to)";
        case RewriteRefusal::ReadOnly:
            return "it is read-only; nothing written";
        case RewriteRefusal::HardLinked:
            return "it has other hard links, which would keep the old header; nothing written";
        case RewriteRefusal::ChangedSinceRead:
            return "another program changed it after it was read; nothing written";
        case RewriteRefusal::TargetExists:
            return "a file with the new name appeared; nothing written";
        case RewriteRefusal::CannotOpen:
            break;
    }
    return "cannot open it: " + FirstLineOf(systemError);
}
