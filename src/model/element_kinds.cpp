#include "model/element_kinds.h"

#include <array>
#include <fstream>
#include <iterator>
#include <system_error>

#include "model/attributes.h"
#include "model/errors.h"
#include "model/file_writing.h"
#include "text/cp1251.h"
#include "text/literal.h"

namespace tallyform::model {
namespace {

using namespace tallyform::text::literals;

struct BuiltInKind {
  std::string_view code;
  std::string_view singular;
  std::string_view plural;
};

constexpr std::array<BuiltInKind, ElementKinds::kBuiltInCount> kBuiltIn = {{
    {"A", "Устройство"_cp, "Устройства"_cp},
    {"B", "Преобразователь"_cp, "Преобразователи"_cp},
    {"C", "Конденсатор"_cp, "Конденсаторы"_cp},
    {"D", "Микросхема"_cp, "Микросхемы"_cp},
    {"DA", "Микросхема"_cp, "Микросхемы"_cp},
    {"DD", "Микросхема"_cp, "Микросхемы"_cp},
    {"DS", "Микросхема"_cp, "Микросхемы"_cp},
    {"DT", "Микросхема"_cp, "Микросхемы"_cp},
    {"E", "Элемент"_cp, "Разные элементы"_cp},
    {"EK", "Нагревательный элемент"_cp, "Нагревательные элементы"_cp},
    {"EL", "Лампа осветительная"_cp, "Лампы осветительные"_cp},
    {"ET", "Пиропатрон"_cp, "Пиропатроны"_cp},
    {"F", "Разрядник, предохранитель"_cp, "Разрядники, предохранители"_cp},
    {"FA", "Элемент защиты по току мгновенного действия"_cp,
     "Элементы защиты по току мгновенного действия"_cp},
    {"FP", "Элемент защиты по току инерционного действия"_cp,
     "Элементы защиты по току инерционного действия"_cp},
    {"FU", "Предохранитель плавкий"_cp, "Предохранители плавкие"_cp},
    {"FV", "Разрядник"_cp, "Разрядники"_cp},
    {"J", "Штыревой разъем"_cp, "Штыревые разъемы"_cp},
    {"G", "Генератор"_cp, "Генераторы"_cp},
    {"GB", "Батарея"_cp, "Батареи"_cp},
    {"H", "Устройство сигнальное"_cp, "Устройства сигнальные"_cp},
    {"HA", "Прибор звуковой сигнализации"_cp, "Приборы звуковой сигнализации"_cp},
    {"HG", "Индикатор символьный"_cp, "Индикаторы символьные"_cp},
    {"HL", "Прибор световой сигнализации"_cp, "Приборы световой сигнализации"_cp},
    {"K", "Реле"_cp, "Реле"_cp},
    {"L", "Катушка индуктивности"_cp, "Катушки индуктивности"_cp},
    {"LL", "Дроссель"_cp, "Дроссели"_cp},
    {"M", "Двигатель тока"_cp, "Двигатели тока"_cp},
    {"MOV", "Разрядник, предохранитель"_cp, "Разрядники, предохранители"_cp},
    {"P", "Прибор"_cp, "Приборы"_cp},
    {"PA", "Амперметр"_cp, "Амперметры"_cp},
    {"PC", "Счетчик импульсов"_cp, "Счетчики импульсов"_cp},
    {"PF", "Частометр"_cp, "Частометры"_cp},
    {"PI", "Счетчик активной энергии"_cp, "Счетчики активной энергии"_cp},
    {"PK", "Счетчик реактивной энергии"_cp, "Счетчики реактивной энергии"_cp},
    {"PR", "Омметр"_cp, "Омметры"_cp},
    {"PS", "Регистрирующий прибор"_cp, "Регистрирующие приборы"_cp},
    {"PT", "Часы"_cp, "Часы"_cp},
    {"PV", "Вольтметр"_cp, "Вольтметры"_cp},
    {"PW", "Ваттметр"_cp, "Ваттметры"_cp},
    {"Q", "Выключатель"_cp, "Выключатели"_cp},
    {"QF", "Выключатель автоматические"_cp, "Выключатели автоматические"_cp},
    {"QK", "Короткозамыкатель"_cp, "Короткозамыкатели"_cp},
    {"QS", "Разъединитель"_cp, "Разъединители"_cp},
    {"R", "Резистор"_cp, "Резисторы"_cp},
    {"S", "Выключатель"_cp, "Выключатели"_cp},
    {"T", "Трансформатор"_cp, "Трансформаторы"_cp},
    {"U", "Устройство связи, преобразователь"_cp, "Устройства связи, преобразователи"_cp},
    {"V", "Прибор электровакуумный или полупроводниковый"_cp,
     "Приборы электровакуумные и полупроводниковые"_cp},
    {"VD", "Диод, стабилитрон"_cp, "Диоды, стабилитроны"_cp},
    {"VL", "Прибор электровакуумный"_cp, "Приборы электровакуумные"_cp},
    {"VT", "Транзистор"_cp, "Транзисторы"_cp},
    {"VS", "Тиристор"_cp, "Тиристоры"_cp},
    {"W", "Линия или элемент СВЧ, антенна"_cp, "Линии и элементы СВЧ, антенны"_cp},
    {"WE", "Ответвитель"_cp, "Ответвители"_cp},
    {"WK", "Короткозамыкатель"_cp, "Короткозамыкатели"_cp},
    {"WS", "Вентиль"_cp, "Вентили"_cp},
    {"WT", "Трансформатор"_cp, "Трансформаторы"_cp},
    {"WU", "Аттенюатор"_cp, "Аттенюаторы"_cp},
    {"WA", "Антенна"_cp, "Антенны"_cp},
    {"X", "Соединение контактное"_cp, "Соединения контактные"_cp},
    {"XA", "Токосъемник"_cp, "Токосъемники"_cp},
    {"XP", "Разъем"_cp, "Разъемы"_cp},
    {"XS", "Гнездо"_cp, "Гнезда"_cp},
    {"XT", "Соединение разборное"_cp, "Соединения разборные"_cp},
    {"XW", "Соединитель высокочастотный"_cp, "Соединители высокочастотные"_cp},
    {"Y", "Механическое устройство"_cp, "Механические устройства"_cp},
    {"Z", "Ограничитель, фильтр"_cp, "Ограничители, фильтры"_cp},
    {"ZL", "Ограничитель"_cp, "Ограничители"_cp},
    {"ZQ", "Фильтр кварцевый"_cp, "Фильтры кварцевые"_cp},
}};

// Splits off the next line; CR LF and LF both end it.
std::string_view NextLine(std::string_view& rest) {
  std::size_t end = rest.find('\n');
  std::string_view line = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

void ElementKinds::Load(const std::filesystem::path& path) {
  kinds_.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  std::string raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return;
  const std::string bytes = text::Cp1251FromUnknown(raw);

  std::string_view rest = bytes;
  while (!rest.empty()) {
    std::string_view code = NextLine(rest);
    if (rest.empty()) break;  // a code without its names
    std::string_view singular = NextLine(rest);
    if (rest.empty()) break;
    std::string_view plural = NextLine(rest);
    if (!code.empty() && !singular.empty() && !plural.empty()) Set(code, plural, singular);
  }
}

void ElementKinds::Save(const std::filesystem::path& path) const {
  std::string out;
  for (const auto& [code, name] : kinds_) {
    if (code.empty() || name.singular.empty() || name.plural.empty()) continue;
    for (std::string_view line :
         {std::string_view(code), std::string_view(name.singular), std::string_view(name.plural)}) {
      out.append(line);
      out.append("\r\n");
    }
  }
  WriteFileReplacing(path, out);
}

void ElementKinds::FillBuiltIn() {
  for (const BuiltInKind& kind : kBuiltIn) Set(kind.code, kind.plural, kind.singular);
}

std::optional<std::string> ElementKinds::StartUp(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    Load(path);
    return std::nullopt;
  }
  kinds_.clear();
  FillBuiltIn();
  try {
    Save(path);
  } catch (const UnreadableFile& e) {
    return e.message();
  }
  return std::nullopt;
}

void ElementKinds::Set(std::string_view code, std::string_view plural, std::string_view singular) {
  auto it = kinds_.find(code);
  if (it == kinds_.end()) {
    kinds_.emplace(std::string(code), CElementName{std::string(plural), std::string(singular)});
  } else {
    it->second.plural.assign(plural);
    it->second.singular.assign(singular);
  }
}

const CElementName* ElementKinds::Find(std::string_view code) const {
  auto it = kinds_.find(code);
  return it == kinds_.end() ? nullptr : &it->second;
}

const CElementName* ElementKinds::FindForDesignator(std::string_view designator) const {
  std::string_view prefix = model::DesignatorPrefix(designator);
  if (prefix.empty()) return nullptr;
  if (const CElementName* kind = Find(prefix)) return kind;
  if (prefix.size() > 2) {
    if (const CElementName* kind = Find(prefix.substr(0, 2))) return kind;
  }
  if (prefix.size() > 1) return Find(prefix.substr(0, 1));
  return nullptr;
}

std::string_view ElementKinds::PluralName(std::string_view designator) const {
  const CElementName* kind = FindForDesignator(designator);
  return kind ? std::string_view(kind->plural) : std::string_view();
}

std::string_view ElementKinds::SingularName(std::string_view designator) const {
  const CElementName* kind = FindForDesignator(designator);
  return kind ? std::string_view(kind->singular) : std::string_view();
}

}  // namespace tallyform::model
