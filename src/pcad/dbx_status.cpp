#include "pcad/dbx_status.h"

#include <algorithm>
#include <iterator>

#include "text/literal.h"

namespace tallyform::pcad {
namespace {

using namespace tallyform::text::literals;

struct StatusText {
  std::int32_t status;
  std::string_view text;
};

// Sorted by status. P-CAD's own names for the statuses the program has no wording of its own for.
constexpr StatusText kTexts[] = {
    {32001, "Ошибка соединения с приложением P-CAD.\nПроверьте, загружено ли данное приложение."_cp},
    {32002, "Ошибка разъединения с приложением P-CAD."_cp},
    {32003, "Неверные данные приложения P-CAD."_cp},
    {32004, "Ошибка работы приложения P-CAD."_cp},
    {32005, "Неисправимая ошибка библиотеки DBX приложения P-CAD."_cp},
    {32006, "Версия P-CAD несоответствует версии библиотеки DBX данного приложения."_cp},
    {32007, "Ошибка приложения при работе с P-CAD."_cp},
    {32008, "Нарушение безопасности при работе с приложением P-CAD."_cp},
    {32009, "Flip Error"},
    {32010, "Rotate Error"},
    {32011, "Move Error"},
    {32012, "Highlight Error"},
    {32013, "Delete Error"},
    {32014, "Modify Error"},
    {32015, "Create Error"},
    {32016, "Ошибка при работе с базой данных приложения P-CAD."_cp},
    {32101, "Invalid Conv Handle"},
    {32102, "Приложение P-CAD прервало свою работу."_cp},
    {32103, "Недостаток памяти при работе с приложением P-CAD."_cp},
    {32104, "Соединение с приложением P-CAD уже существует."_cp},
    {32105, "Нет связи с приложением P-CAD.\nПроверьте, загружено ли данное приложение."_cp},
    {32106,
     "Приложение P-CAD занято.\nВозможно предыдущая операция при работе с P-CAD\nзакончилась неудачно. Перейдите в окно P-CAD,\nразорвите соединение с приложением DBX и повторите операцию."_cp},
    {32121, "Запрещенная операция."_cp},
    {32122, "Неверный ввод."_cp},
    {32123, "Array Too Small"},
    {32124, "Invalid Item ID"},
    {32141, "Item Not Found"},
    {32142, "Item Not Supported"},
    {32143, "Illegal Item"},
    {32144, "Shape Not Defined"},
    {32145, "GetFirst Not Called"},
    {32146, "GetComp Not Called"},
    {32147, "GetNet Not Called"},
    {32161, "No More Layers"},
    {32162, "No More Nets"},
    {32163, "No More Items"},
    {32164, "No More Net Classes"},
    {32165, "No More Class To Class Rules"},
    {32166, "No More Rooms"},
    {32167, "No More Room Points"},
    {32168, "No More Components"},
    {32170, "Invalid Angle"},
    {32171, "Invalid Highlight Color"},
    {32172, "Invalid Item Type"},
    {32173, "Invalid Justification"},
    {32174, "Invalid Layer"},
    {32175, "Invalid Location"},
    {32176, "Invalid Net Id"},
    {32177, "Invalid Net Name"},
    {32178, "Invalid Padstyle"},
    {32180, "Invalid Radius"},
    {32181, "Invalid Refdes"},
    {32182, "Invalid Rotation Angle"},
    {32183, "Invalid TextStyle"},
    {32184, "Invalid Width"},
    {32185, "Invalid Layer Name"},
    {32186, "Invalid Component Name"},
    {32187, "Mismatched Part Numbers"},
    {32188, "Mismatched Pin Numbers"},
    {32189, "Mismatched Component Type"},
    {32190, "Mismatched Hetero"},
    {32191, "Invalid Line Style"},
    {32192, "Invalid Pin Length"},
    {32193, "Invalid Pin Style"},
    {32194, "Invalid Alt Type"},
    {32195, "Invalid Net Class Name"},
    {32196, "Invalid Class To Class Id"},
    {32197, "Invalid Net Class Id"},
    {32198, "Invalid Layer Id"},
    {32199, "Invalid Room Name"},
    {32200, "Invalid Attribute Value"},
    {32201, "Invalid Attribute Name"},
    {32205, "Duplicate Attribute"},
    {32206, "Duplicate Net Name"},
    {32207, "Duplicate Net Class Name"},
    {32208, "Duplicate Class To Class Name"},
    {32209, "Duplicate Refdes"},
    {32215, "Component Not Found"},
    {32216, "Layer Not Found"},
    {32217, "Net Not Found"},
    {32218, "Net Not Empty"},
    {32219, "Net Exists"},
    {32220, "Net Conflict"},
    {32221, "Net Class Not Found"},
    {32222, "Net Class Not Empty"},
    {32223, "Net Class Exists"},
    {32224, "Class To Class Not Found"},
    {32225, "Room Not Found"},
    {32226, "Point Not Found"},
    {32230, "Component Cache Conflict"},
    {32231, "Библиотека P-CAD не открывается."_cp},
    {32232, "Item Outside Workspace"},
    {32233, "No Attached Pattern"},
    {32234, "Too Few Pins"},
    {32235, "Pindes Not Found"},
    {32236, "Name Too Long"},
    {32237, "Print Job Not Found"},
    {32238, "No Print Jobs Selected"},
    {32239, "Невозможно открыть файл P-CAD."_cp},
    {32250, "Invalid Library Name"},
    {32251, "Unable to open Library"},
    {32252, "Component Already Open"},
    {32253, "OpenComponent Not Called"},
    {32254, "SaveComponent Failed"},
    {32255, "Library is READ only"},
    {32256, "Save Symbol Failed"},
    {32257, "Save Pattern Failed"},
    {32258, "Internal Parameter Error"},
    {32279, "Invalid Pin Number"},
};

}  // namespace

std::string_view DbxErrorTitle() {
  return "Ошибка P-CAD"_cp;
}

std::string DbxStatusMessage(std::int32_t status, std::size_t buffer_size) {
  std::string message;
  if (status == kDbxOk) {
    message = "Status: OK";
  } else {
    auto it = std::lower_bound(std::begin(kTexts), std::end(kTexts), status,
                               [](const StatusText& entry, std::int32_t key) { return entry.status < key; });
    if (it != std::end(kTexts) && it->status == status) {
      message = it->text;
    } else {
      message = std::string("Статус: "_cp) + std::to_string(status);
    }
  }
  if (buffer_size == 0) return {};
  if (message.size() > buffer_size - 1) message.resize(buffer_size - 1);
  return message;
}

}  // namespace tallyform::pcad
