#pragma once

// The program's developer as the about window and the mail commands name it.
namespace developer {

inline constexpr char kNameRussian[] = "Разработчики Veltrix";
inline constexpr char kNameEnglish[] = "Veltrix Developers";
inline constexpr char kSite[] = "https://veltrix.example.org/";
inline constexpr char kMail[] = "developers@veltrix.example.org";
inline constexpr char kSubjectRussian[] = "Письмецо разработчикам Veltrix";
inline constexpr char kSubjectEnglish[] = "For Veltrix Developers";
inline constexpr char kGreetingRussian[] = "Привет, разработчики! ";
inline constexpr char kGreetingEnglish[] = "Hello, developers! ";
inline constexpr char kReleaseDate[] = "16.02.2003";

} // namespace developer
