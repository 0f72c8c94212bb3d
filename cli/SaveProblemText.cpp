#include "cli/SaveProblemText.h"

#include "cli/ReadProblem.h"
#include "header/MeasureToChoices.h"
#include "platform/Utf8.h"

namespace {

std::string Quoted(const ToolTexts& texts, const std::wstring& text) {
    return Fill(texts.quoted, {ToUtf8(text)});
}

template <typename Range, typename Word>
std::string Listed(const ToolTexts& texts, const Range& items, Word word) {
    std::string list;
    for (const auto& item : items)
        list += (list.empty() ? "" : std::string(texts.listSeparator)) + word(item);
    return list;
}

}  // namespace

std::string ValueProblemText(const ValueProblem& problem, Language language) {
    const ToolTexts& texts = TextsIn(language);
    const std::string characters = ToUtf8(problem.characters);
    switch (problem.fault) {
        case ValueFault::ControlCharacter:
            return Fill(texts.controlCharacter, {problem.field});
        case ValueFault::NotAFileName:
            return characters.empty() ? Fill(texts.emptyStation, {problem.field})
                                      : Fill(texts.notAFileName, {problem.field, characters});
        case ValueFault::NotInCodePage:
            return Fill(texts.notInCodePage, {problem.field, characters});
        case ValueFault::NotANumber:
            return Fill(texts.numberNotWritable, {problem.field, characters});
    }
    return std::string(problem.field);
}

std::string RewriteReason(const RewriteOutcome& written, Language language) {
    const ToolTexts& texts = TextsIn(language);
    switch (written.refusal) {
        case RewriteRefusal::None:
            return FirstLineOf(written.error);
        case RewriteRefusal::InUse:
            return std::string(texts.inUse);
        case RewriteRefusal::Link:
            return std::string(texts.link);
        case RewriteRefusal::ReadOnly:
            return std::string(texts.readOnly);
        case RewriteRefusal::HardLinked:
            return std::string(texts.hardLinked);
        case RewriteRefusal::ChangedSinceRead:
            return std::string(texts.changedSinceRead);
        case RewriteRefusal::TargetExists:
            return std::string(texts.targetExists);
        case RewriteRefusal::CannotOpen:
            break;
    }
    return Fill(texts.cannotOpenIt, {FirstLineOf(written.error)});
}

std::string FieldProblemText(const FieldValueProblem& problem, Language language) {
    const ToolTexts& texts = TextsIn(language);
    const std::string value = Quoted(texts, problem.value);
    switch (problem.fault) {
        case FieldValueFault::ReadOnly:
            return Fill(texts.fieldReadOnly, {problem.field});
        case FieldValueFault::NotANumber:
            return Fill(texts.notANumber, {problem.field, value});
        case FieldValueFault::NotANumberOfMetres:
            return Fill(texts.notANumberOfMetres, {problem.field, value});
        case FieldValueFault::OutOfRange:
            return Fill(texts.outOfRange, {problem.field, value});
        case FieldValueFault::NotInCatalogue:
            return Fill(texts.notInCatalogue,
                        {problem.field, value,
                         Listed(texts, problem.closest,
                                [&](const std::wstring& name) { return Quoted(texts, name); })});
        case FieldValueFault::NotAMeasureTo:
            return Fill(texts.notAMeasureTo,
                        {problem.field, Listed(texts, MeasureToChoices, ToUtf8)});
    }
    return std::string(problem.field);
}
