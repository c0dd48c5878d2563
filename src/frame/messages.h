// Message ids of the library's string table and its literal messages.
#pragma once

namespace orv {

inline constexpr unsigned IDS_PROJNAME = 100;
inline constexpr unsigned IDS_NO_CB_RATE = 101;
inline constexpr unsigned IDS_XML_CONNECT = 117;
inline constexpr unsigned IDS_NO_DATABASE = 1000;
inline constexpr unsigned IDS_MS_INDEX = 1010;
inline constexpr unsigned IDS_UNEXPECTED_TYPE = 1011;
inline constexpr unsigned IDS_MONTH_LIST_NOT_READY = 1012;
inline constexpr unsigned IDS_MROT_NOT_READY = 1013;

inline constexpr const char16_t* kMsgTypeChangeForbidden = u"Запрещено менять тип документа";
inline constexpr const char16_t* kMsgNoDatabaseForExtension =
    u"Документ не подсоединен к базе данных, запрос расширения невзможен";
inline constexpr const char16_t* kMsgUnknownError = u"Unknown Error";

// Registers the string table with the platform's text services (once).
void RegisterMessages() noexcept;

}  // namespace orv
