#pragma once
// Result codes shared by every operation of the server client.

namespace vexlo::client {

inline constexpr int CLIENT_OK = 0;
// The HTTP exchange failed: no handle, a transfer error, or a status other than 200.
inline constexpr int CLIENT_ERR_REQUEST = 0x1001;
// The reply body is not readable as the expected JSON document.
inline constexpr int CLIENT_ERR_JSON = 0x1002;

}  // namespace vexlo::client
