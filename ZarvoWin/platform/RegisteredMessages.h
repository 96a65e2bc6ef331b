#pragma once

// Names of the messages the two programs register on the platform bus.
// The same name gives the same number in every process of the user.
namespace RegisteredMessages {
inline constexpr char16_t AreYouZarvo[] = u"UWM_ARE_YOU_ZARVO";
inline constexpr char16_t AreYouZarvoTray[] = u"UWM_ARE_YOU_ZARVO_TRAY";
// Posted by the main program after each stamped change (see CBdD::PostChange).
inline constexpr char16_t ZarvoChange[] = u"UWM_ZARVO_CHANGE_90E721E2-9CFF-4c13-8A9D-6F66F17429ED";
// Posted by the tray program after each change it makes.
inline constexpr char16_t RefreshFromTray[] = u"UWM_ZARVO_REFRESH_FROM_TRAY_D6386AB4-2D5D-4bfd-89F4-7883A7331BAB";
} // namespace RegisteredMessages
