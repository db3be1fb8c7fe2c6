#pragma once
// The statuses of the P-CAD design link and the messages the program shows for them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tallyform::ports {
class Prompts;
}  // namespace tallyform::ports

namespace tallyform::pcad {

inline constexpr std::int32_t kDbxOk = 0;
inline constexpr std::int32_t kDbxConnectionError = 32001;
inline constexpr std::int32_t kDbxVersionMismatch = 32006;
inline constexpr std::int32_t kDbxConnectionExists = 32104;
inline constexpr std::int32_t kDbxNoLink = 32105;
inline constexpr std::int32_t kDbxBusy = 32106;
inline constexpr std::int32_t kDbxInvalidHandle = 32101;
inline constexpr std::int32_t kDbxIllegalOperation = 32121;
inline constexpr std::int32_t kDbxInvalidInput = 32122;
inline constexpr std::int32_t kDbxItemNotSupported = 32142;
inline constexpr std::int32_t kDbxGetFirstNotCalled = 32145;
inline constexpr std::int32_t kDbxNoMoreLayers = 32161;
inline constexpr std::int32_t kDbxNoMoreItems = 32163;
inline constexpr std::int32_t kDbxNoMoreComponents = 32168;
inline constexpr std::int32_t kDbxInvalidJustification = 32173;
inline constexpr std::int32_t kDbxInvalidTextStyle = 32183;
inline constexpr std::int32_t kDbxInvalidAttributeName = 32201;
inline constexpr std::int32_t kDbxDuplicateAttribute = 32205;
inline constexpr std::int32_t kDbxComponentNotFound = 32215;
inline constexpr std::int32_t kDbxLayerNotFound = 32216;
inline constexpr std::int32_t kDbxLibraryNotOpened = 32231;
inline constexpr std::int32_t kDbxCannotOpenFile = 32239;

/// The title of the box that shows a failing status.
std::string_view DbxErrorTitle();

/// The message for `status`: "Status: OK" for 0, the program's text for a listed status, "Статус: N"
/// otherwise, cut to `buffer_size` − 1 bytes (as into a buffer of that size with its terminating zero;
/// the empty text for a size of 0 or 1). Code page 1251.
std::string DbxStatusMessage(std::int32_t status, std::size_t buffer_size = 1000);

/// Shows the message of a failing status in its box: titled DbxErrorTitle(), the exclamation icon, OK.
void ShowDbxStatus(ports::Prompts& prompts, std::int32_t status);

/// True for the statuses that mean an open succeeded: 0 and 32104.
constexpr bool DbxOpened(std::int32_t status) {
  return status == kDbxOk || status == kDbxConnectionExists;
}

}  // namespace tallyform::pcad
