#pragma once
// The caller's records that the usage reports and the feedback upload read.
#include <json/json.h>

#include <cstdint>

#include "platform/base/text.h"

namespace vexlo::client {

// The identity and installation values every report carries.
struct ReportRecord {
    platform::WString mid;
    platform::WString aut;
    int32_t cid = 0;
    platform::WString ver;
    int32_t stu = 0;  // sent only by ReportInstall, for some kinds of event
    int32_t mcn = 0;
    platform::WString pmid;
};

struct InstallReport : ReportRecord {
    platform::WString osver;
    platform::WString osbit;
    platform::WString iever;
    platform::WString dispix;
    platform::WString date;
    int32_t install = 0;  // the kind of event
    platform::WString extra;
};

struct TextReport : ReportRecord {
    platform::WString body;
};

struct EncodedReport : ReportRecord {
    Json::Value payload;  // strings in the ANSI code page
};

struct FeedbackRecord {
    platform::WString uid;
    platform::WString content;
    platform::WString contract;
    platform::WString clientVersion;
    platform::WString osVersion;
    platform::WString ieVersion;
    platform::WString filePath;
};

}  // namespace vexlo::client
