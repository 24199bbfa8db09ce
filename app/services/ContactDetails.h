#pragma once
// The maker's contact details, in one place: the dialogs' links and the support note.

namespace ContactDetails {
inline constexpr const char* kWebsite = "https://www.quillmore.example";
inline constexpr const char* kGeneralEmail = "info@quillmore.example";
inline constexpr const char* kSupportEmail = "support@quillmore.example";
inline constexpr const char* kSupportTelephone = "+1 555 0100";
} // namespace ContactDetails
