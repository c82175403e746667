// The update service's answer: an XML file with root "QuilloraVersionInfo",
// read into the update-info record.
#pragma once
#include <string>

#include "online/update_info.h"

class TiXmlDocument;

// Results of reading an answer.
enum UpdateAnswerResult { kAnswerNewerVersion = 0, kAnswerNoNewerVersion = 1, kAnswerInvalid = 2 };

// Reads the file (at most the download cap) and parses it; kAnswerInvalid
// when it cannot be read, else ParseUpdateInfoXml's result.
int LoadUpdateInfoFile(const std::wstring& path, CUpdateInfo& record);
// Fills the record from a parsed answer. "Version_Test" is read in place of
// "Version" while the update test switch is on (or versionTest is given).
// The two downloads' headers are probed for their date and size.
int ParseUpdateInfoXml(TiXmlDocument& document, CUpdateInfo& record);
int ParseUpdateInfoXml(TiXmlDocument& document, CUpdateInfo& record, bool versionTest);
