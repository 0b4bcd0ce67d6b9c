// Every result code that crosses a module boundary, named once. Operations
// of service objects, the host libraries and the module entries return
// these u32 values; nothing else in the tree writes them as bare numbers.
// The service provider's own results are named in svcbroker.h, the
// document-model library's in folio.h.
//
// Some values carry two names: the same number means different things to
// different callers (8 is "no error recorded" to GetErrorInfo and "not
// found" to strpool), and each caller uses the name of its own meaning.
#pragma once

#include <cstdint>

namespace SODetails {

// Results with a framework-wide meaning.
constexpr uint32_t kOk = 0;
constexpr uint32_t kDeclined = 1;     // not implemented or not handled; never recorded
constexpr uint32_t kNotAvailable = 2; // the needed object or facility is not there
constexpr uint32_t kBadArgument = 3;  // a required pointer is null, or a required atom 0
constexpr uint32_t kVersionMismatch = 5;
constexpr uint32_t kBadRecordSize = 6;   // a record's size field is not the expected size
constexpr uint32_t kNoErrorRecorded = 8; // GetErrorInfo: the calling thread has no record
constexpr uint32_t kIgnored = 10;        // not an error: ReportError and CheckResult pass it
constexpr uint32_t kNotSubscribed = 25;  // a notification subscription that is not active

// The host libraries' own answers.
constexpr uint32_t kBufferTooSmall = 6;    // textcodec: the buffer cannot take the text
constexpr uint32_t kSingletonRejected = 6; // strpool: id 0, or a size other than the block's
constexpr uint32_t kNotFound = 8;          // strpool: no block with that id, no name with that atom
constexpr uint32_t kMalformedText = 13;    // textcodec: the input is not well-formed
constexpr uint32_t kCannotOpenFile = 13;   // journal: the sink's file cannot be opened
constexpr uint32_t kStorageTornDown = 15;  // strpool: the singleton storage is gone

// What the document-model library's results become as service codes
// (PDResultToServiceCode). The names follow the library's (folio.h); the
// library's reserved results keep their numbers in their names.
constexpr uint32_t kLibraryFailure = 14;
constexpr uint32_t kOutOfRange = 9;
constexpr uint32_t kUnsupported = 21;
constexpr uint32_t kOutOfMemory = 12;
constexpr uint32_t kDocumentReserved8 = 11;
constexpr uint32_t kDocumentCannotOpen = 0x30002;
constexpr uint32_t kDocumentDamaged = 0x30004;
constexpr uint32_t kDocumentEncrypted = 0x30005;
constexpr uint32_t kDocumentCannotWrite = 0x30006;
constexpr uint32_t kDocumentNothingToUndo = 0x30007;
constexpr uint32_t kDocumentNothingToRedo = 0x30008;
constexpr uint32_t kDocumentEditOpen = 0x30009;
constexpr uint32_t kDocumentReserved18 = 0x3000A;
constexpr uint32_t kDocumentReserved19 = 0x3000B;
constexpr uint32_t kDocumentReserved32 = 0x3000C;
constexpr uint32_t kDocumentReserved33 = 0x3000D;
constexpr uint32_t kDocumentReserved34 = 0x3000E;
constexpr uint32_t kUnknownLibraryResult = 25; // every result the translation does not list

// The UI engine's element API.
constexpr uint32_t kStaleElement = 0x20001; // not a live element handle of the engine
constexpr uint32_t kBadSelector = 0x20002;  // a selector text the engine does not understand

// A UI handler's window cannot give the service object the handler was
// asked to find there.
constexpr uint32_t kNoSuchServiceObject = 8;

// The settings store's typed reads and writes found no service.
constexpr uint32_t kSettingsReadsNotLoaded = 0x2000D;
constexpr uint32_t kSettingsWritesNotLoaded = 0x2000E;

// Codes that are not failures: success, declined and ignored.
constexpr bool IsFailure(uint32_t code) {
    return code != kOk && code != kDeclined && code != kIgnored;
}

} // namespace SODetails
