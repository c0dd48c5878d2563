// The library's string table: message texts in Russian and English.
#include "frame/messages.h"

#include "frame/module.h"

#include <orvdocs/platform/text.h>

namespace orv {
namespace {

const STRINGTABLEENTRY kMessages[] = {
    {100, u"OrvDocs",
     u"OrvDocs"},
    {101, u"Нет ставки ЦВ для расчета материальной выгоды по займу для даты %s. Проверьте правило \"Ставка ЦБ для мат. выгоды\"",
     nullptr},
    {117, u"Ошибка при подключении к MS XML",
     u"Ioeaea i?e iiaee??aiee e MS XML"},
    {1000, u"Компонент, обслуживающий базу данных, не подключен",
     u"The component operating the database is not switched on"},
    {1010, u"Индекс для MS проперти может быть от 0 до 2",
     u"The index for property MS can be from 0 to 2"},
    {1011, u"Неожиданная ошибка - Для документа с иденификатором %ld ожидался тип %s,  а оказался - %s.",
     u"An unexpected error: type  %ld was expected for the document with the identifier %s,  but it turned out to be  - %s."},
    {1012, u"Список дополнительных записей для месяца не проинициализирован",
     u"The list of additional remarks for the month is not initialized"},
    {1013, u"(1013) OrvDocs Системная ошибка, таблица МРОТ не проинициализирована",
     u"(1013) OrvDocs System error, MROT table is not initialized."},
};

}  // namespace

void RegisterMessages() noexcept {
    static const bool done = [] {
        RegisterStringTable(ThisModule(), kMessages, sizeof(kMessages) / sizeof(kMessages[0]));
        return true;
    }();
    (void)done;
}

}  // namespace orv
