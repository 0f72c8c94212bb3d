#include "cli/ToolTexts.h"

const ToolTexts& ChineseTexts() {
    static constexpr ToolTexts kTexts = {
        .cannotOpen = "打开TZR文件失败",
        .noVersion = "未发现版本号(ver)，请确认文件是否为TZR格式",
        .noReceiverId = "未发现SN号(ReceiverID)，请确认文件是否为TZR格式",
        .noDate = "文件头未发现日期信息！",
        .dateTooLong = "数据异常！",
        .cannotReadHeader = "无法读取文件头",
        .problemSeparator = "；",

        .controlCharacter = "{}含有控制字符，会破坏文件头",
        .notAFileName =
            "{}“{}”不能用作 Windows 文件名（不能含有 \\ / : * ? \" < > |，不能是 . "
            "或 ..，不能是设备名，如 CON、NUL）",
        .notInCodePage = "{}含有文件头代码页无法表示的字符：“{}”（见 --codepage）",

        .numberNotWritable = "{}“{}”不是文件头能按原样写入和读回的数字",
        .inUse = "文件正被其他程序使用，未写入",
        .link = "文件是符号链接，未写入（请指定链接所指的文件）",
        .readOnly = "文件为只读，未写入",
        .hardLinked = "文件有多个硬链接，其他链接会保留旧文件头，未写入",
        .changedSinceRead = "文件在读取后已被其他程序修改，未写入",
        .targetExists = "已出现同名的新文件，未写入",
        .cannotOpenIt = "无法打开：{}",

        .fieldReadOnly = "{}不能修改",
        .notANumber = "{}需要一个数字，而不是{}",
        .notANumberOfMetres = "{}需要一个以米为单位的数字，而不是{}",
        .outOfRange = "{}{}超出范围",
        .notInCatalogue = "{}{}不在天线列表中；最接近的：{}",
        .notAMeasureTo = "{}应为 0、1、2、3 或以下标签之一：{}",
        .quoted = "“{}”",
        .listSeparator = "、",
        .tableRow = "第 {} 行（{}）",

        .nameMismatch = "文件名中的测站为{}，文件头的 MARKER NAME: 为{}",
        .unknownAntenna = "{}不在天线列表中；程序会显示{}",
        .heightMissing = "天线高为 0",
        .heightRange = "天线高 {} 米不在 0 到 5 米之间",
        .measureToUnknown = "量高方式代码为 0：不知道天线高量到何处",
        .coordinatesMissing = "近似坐标 X、Y、Z 均为 0",
        .stationSpread = "距测站 {2} 的 {1} 个文件的中位位置 {0} 米",
        .receiverMismatch = "接收机{}在此为{}，但{}",
        .receiverTypeInFiles = "{}见于 {}",
        .logMismatch = "{0}在文件中为{1}，在外业记录的{3}中为{2}",
        .noRowForFile = "外业记录中没有它的行",
        .rowMatchesNoFile = "{}没有对应的文件",
        .checkSummary = "已检查 {}：{}",
        .findingsInFiles = "，涉及 {}",
        .oneFile = "{} 个文件",
        .files = "{} 个文件",
        .oneFinding = "{} 项发现",
        .findings = "{} 项发现",
        .writtenValueWarning = "警告: {}: {}",

        .antennasFrom = "{} 种天线，来自{}",
        .builtInList = "内置列表",
        .recordTooShort = "记录只有 {} 行，应有 4 行",
        .fieldLineTooMany = "记录的第五行，已忽略",
        .recordBeyondCapacity = "第 100 条之后的记录，已忽略",

        .helpHint = "请参阅“tzrhdr --help”或“tzrhdr 命令 --help”。",
        .unknownCommand = "未知命令“{}”",
        .needsCodePageNumber = "{} 需要代码页编号，而不是“{}”",
        .codePageNotAvailable = "{}：本系统没有代码页 {}",
        .badEncoding = "--encoding 应为 utf-8、ansi 或代码页编号，而不是“{}”",
        .badLanguage = "--lang 应为 zh 或 en，而不是“{}”",
        .setNeedsEdit = "set 需要一个字段选项或 --from",

        .usageLabel = "用法",
        .positionalsLabel = "参数",
        .optionsLabel = "选项",
        .optionsGroup = "选项",
        .commandLabel = "命令",
        .commandsGroup = "命令",
        .requiredLabel = "必需",
        .excludesLabel = "不能与之同用",
        .needsLabel = "需要",
        .helpOption = "显示此帮助并退出",
        .versionOption = "显示版本并退出",
        .toolDescription =
            "tzrhdr 像 TZR Data Manager 一样读取并修改 GNSS 原始观测文件（.TZR）"
            "的文本文件头。",
        .footer =
            "文件头文本按 --codepage 指定的代码页读取，否则按 TZR_CODEPAGE，否则按系统的 "
            "ANSI 代码页\n（在 Linux 上为 Windows 对该区域设置所用的代码页：zh_CN 为 "
            "936）。\n退出状态：每个文件都完整读取（或修改）时为 0，有文件未完成时为 1\n"
            "（check：有发现时），用法错误时为 2。",
        .showDescription = "显示每个原始文件的文件头记录",
        .setDescription = "像 TZR Data Manager 的保存一样修改文件头，并按测站重命名文件",
        .checkDescription = "报告原始文件中看来有误之处：单个文件、文件之间以及与外业记录比较",
        .undoDescription = "撤销 set 最近一批尚未撤销的修改，或指定的一批",
        .catalogueDescription = "显示天线列表",
        .langOption = "消息用中文（zh）或英文（en）；默认随系统语言",
        .codePageOption = "按代码页 N 读取文件头文本（及天线列表）",
        .catalogueOption = "使用此天线列表，而不是 tzrhdr 旁的 TzrManagerAnt.ini；从不写入",
        .catalogueOptionOfCatalogue = "使用此天线列表，而不是 tzrhdr 旁的 TzrManagerAnt.ini",
        .filesOption = "原始文件（.TZR）；文件夹表示其中的原始文件；可用 * 和 ? 通配；"
                       "@LIST 表示文件 LIST 中逐行列出的路径",
        .recursiveOption = "文件夹也包括其子文件夹中的原始文件",
        .showJsonOption = "每个文件一行 JSON 对象，含程序会显示的消息",
        .showCsvOption = "电子表格，UTF-8 带字节顺序标记，除非 --encoding 指定其他编码",
        .showEncodingOption = "表格编码：utf-8、ansi（文件头代码页）或代码页编号",
        .setFromOption = "测量任务表：一列 file 或 current-station，每个字段一列",
        .tableEncodingOption =
            "表格编码：utf-8、ansi 或代码页编号；默认有效时为 UTF-8，否则为 ansi",
        .replaceOption = "替换本批之外已使用新文件名的文件",
        .dryRunOption = "显示将要修改的内容，不写入",
        .setJsonOption = "每个文件一行 JSON 对象，输出到标准输出",
        .journalOption = "将本批记入此日志，而不是用户自己的日志",
        .noJournalOption = "不记录；本批无法撤销",
        .checkFromOption = "外业记录：与 set 读取方式相同的测量任务表",
        .checkEncodingOption =
            "外业记录的编码：utf-8、ansi 或代码页编号；默认有效时为 UTF-8，否则为 ansi",
        .checkJsonOption = "每项发现一行 JSON 对象",
        .undoJournalOption = "使用此日志，而不是用户自己的日志",
        .batchOption = "撤销这一批（若为撤销：重做）",
        .undoDryRunOption = "显示将要恢复的内容，不写入",
        .listOption = "列出日志中的批次",
        .undoJsonOption = "每个文件（或批次）一行 JSON 对象",
        .catalogueJsonOption = "一个 JSON 对象",
    };
    return kTexts;
}
