// orvdocs: the command-line tool for a payroll document store. Subcommands
// (each with --help) create and load a store, list, show and export its
// documents, calculate months, convert a document's forms, show and restore
// a document's versions and register the library. Exit codes: 0 done,
// 1 input refused, 2 a wrong command line. Messages go to standard error.
#include "cli/cli.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace orv::cli;

struct Command {
    const char* name;
    int (*run)(const Args&);
    std::vector<std::string> valued;
    std::vector<std::string> flags;
    const char* usage;
    const char* en;
    const char* ru;
};

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"init", &Init, {}, {}, "init STORE", "creates a new, empty store file", "создаёт новый пустой файл хранилища"},
        {"import", &Import, {}, {}, "import STORE FILE...",
         "loads the store's text form, documents and document lists (XML) into the store, all or nothing",
         "загружает в хранилище его текстовую форму, документы и списки документов (XML), всё или ничего"},
        {"export", &Export, {"employee", "type", "from", "to", "output"}, {},
         "export STORE [--employee N] [--type T] [--from DATE] [--to DATE] [--output FILE]",
         "writes the store's text form; with filters only the documents the store selects",
         "выгружает текстовую форму хранилища; с фильтрами только отобранные документы"},
        {"list", &List, {"employee", "month", "type"}, {"json"}, "list STORE --employee N [--month YYYY-MM] [--type T] [--json]",
         "the employee's documents: identifier, type, period and text; a month selects those whose period meets it",
         "документы сотрудника: идентификатор, тип, период и текст; месяц отбирает документы, чей период его задевает"},
        {"show", &Show, {}, {"json"}, "show STORE ID [--json]",
         "one document: every record field, its extension's properties, its protocol",
         "один документ: все поля записи, свойства расширения, протокол"},
        {"month", &Month, {"employee", "month"}, {"json"}, "month STORE --employee N --month YYYY-MM [--json]",
         "calculates the employee's month with its traces and prints the totals",
         "рассчитывает месяц сотрудника с его следами и выводит итоги"},
        {"year", &Year, {"employee", "year", "limit"}, {"json"}, "year STORE --employee N --year YYYY [--limit SUM] [--json]",
         "the tax bases of the employee's months of the year", "налоговые базы месяцев года сотрудника"},
        {"convert", &Convert, {"from", "to"}, {}, "convert [--from hex|xml|json] [--to xml|hex|json] < INPUT",
         "converts a document between its hex record, its XML form and JSON (standard input to standard output)",
         "преобразует документ между hex-записью, XML-формой и JSON (со стандартного ввода на вывод)"},
        {"history", &History, {}, {}, "history STORE ID", "the document's kept versions and what each change changed",
         "сохранённые версии документа и что изменила каждая замена"},
        {"restore", &Restore, {}, {}, "restore STORE ID VERSION",
         "makes a kept version of the document the latest (a new version)",
         "делает сохранённую версию документа последней (новой версией)"},
        {"register", &Register, {}, {"unregister"}, "register [--unregister]",
         "writes (or removes) the library's registration in the file named by ORVDOCS_REGISTRY",
         "записывает (или удаляет) регистрацию библиотеки в файле ORVDOCS_REGISTRY"},
        {"demo", &Demo, {"load", "export"}, {}, "demo [STORE] [--load FILE] [--export FILE]",
         "runs the library's demonstration steps on a store", "выполняет демонстрацию библиотеки на хранилище"},
    };
    return commands;
}

void Overview(std::FILE* out) {
    std::fprintf(out, "%s\n", Tr("usage: orvdocs COMMAND [ARGUMENTS] (orvdocs COMMAND --help)",
                                 "использование: orvdocs КОМАНДА [АРГУМЕНТЫ] (orvdocs КОМАНДА --help)"));
    for (const auto& c : Commands()) std::fprintf(out, "  %-9s %s\n", c.name, Tr(c.en, c.ru));
    std::fprintf(out, "%s\n", Tr("exit codes: 0 done, 1 input refused, 2 wrong command line",
                                 "коды выхода: 0 выполнено, 1 ввод отвергнут, 2 неверная командная строка"));
}

void Help(const Command& c, std::FILE* out) {
    std::fprintf(out, "%s orvdocs %s\n  %s\n", Tr("usage:", "использование:"), c.usage, Tr(c.en, c.ru));
    std::fprintf(out, "%s\n", Tr("dates: dd.mm.yyyy or yyyy-mm-dd; exit codes: 0 done, 1 input refused, 2 wrong command line",
                                 "даты: дд.мм.гггг или гггг-мм-дд; коды выхода: 0 выполнено, 1 ввод отвергнут, 2 неверная командная строка"));
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 2) {
        Overview(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        Overview(stdout);
        return 0;
    }
    for (const auto& c : Commands()) {
        if (name != c.name) continue;
        for (int i = 2; i < argc; ++i)
            if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
                Help(c, stdout);
                return 0;
            }
        try {
            const Args args = ParseArgs(argc - 2, argv + 2, c.valued, c.flags);
            return c.run(args);
        } catch (const Usage& u) {
            std::fprintf(stderr, "orvdocs %s: %s\n", c.name, u.text.c_str());
            Help(c, stderr);
            return 2;
        } catch (const Refused& r) {
            if (r.hr != S_OK)
                std::fprintf(stderr, "orvdocs %s: %s (%s 0x%08X)\n", c.name, r.text.c_str(), Tr("status", "статус"),
                             static_cast<unsigned>(r.hr));
            else
                std::fprintf(stderr, "orvdocs %s: %s\n", c.name, r.text.c_str());
            return 1;
        }
    }
    std::fprintf(stderr, "orvdocs: %s%s\n", Tr("unknown command: ", "неизвестная команда: "), name.c_str());
    Overview(stderr);
    return 2;
}
