// The two documents of the interchange: the library's LRQuery, read into a
// query record, and the tray's LRAnswer, built from an answer record.
#pragma once
#include <string>

#include "foundation/system/shared_records.h"

// Fills query from an LRQuery document in UTF-8; false when there is no
// LRQuery element. Missing parts keep the record's empty values.
bool ParseQuery(CQueryRecord& query, const char* xml);

// The LRAnswer document (four-blank indent, CR LF breaks); false, with out
// untouched, when the answer has no items.
bool BuildAnswerXml(const CAnswerRecord& answer, std::string& out);

// The "Received query:" log line of a query that was read.
std::wstring FormatReceivedQuery(const CQueryRecord& query);
