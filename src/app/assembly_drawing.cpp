#include "app/assembly_drawing.h"

#include <cstdint>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "model/attributes.h"
#include "model/platform.h"
#include "model/refdes2.h"
#include "pcad/dbx_status.h"
#include "ports/dbx.h"
#include "ports/progress.h"
#include "ports/prompts.h"
#include "text/case_fold.h"
#include "text/literal.h"

namespace tallyform::app {
namespace {

using namespace tallyform::text::literals;

constexpr std::string_view kRefDes2 = "RefDes2";

// Copies through a temporary file beside the copy and renames it into place.
bool CopyBoard(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::filesystem::path temporary = to;
  temporary += ".copying~";
  std::error_code error;
  std::filesystem::copy_file(from, temporary, std::filesystem::copy_options::overwrite_existing, error);
  if (!error) std::filesystem::rename(temporary, to, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

// The dialog's lists from the copy; empty when it cannot be opened (the status is shown).
model::RefDes2Offer Offer(const std::filesystem::path& copy, const std::string& design, ports::Dbx& dbx,
                          ports::Prompts& prompts) {
  model::RefDes2Offer offer;
  offer.copy_path = model::PathText(copy);
  ports::DbxHandle handle = 0;
  const std::int32_t opened = dbx.OpenDesign(ports::kDbxVersion, design, handle);
  if (!pcad::DbxOpened(opened)) {
    pcad::ShowDbxStatus(prompts, opened);
    return offer;
  }
  ports::DbxLayer layer;
  for (auto status = dbx.GetFirstLayer(handle, layer); status == 0;
       status = dbx.GetNextLayer(handle, layer)) {
    offer.layers.push_back({layer.id, layer.name});
  }
  ports::DbxTextStyle style;
  for (std::int32_t index = 0; dbx.GetTextStyle(handle, index, style) == 0; ++index) {
    offer.text_styles.push_back(style.name);
  }
  if (const std::int32_t closed = dbx.CloseDesign(handle, ""); closed != 0)
    pcad::ShowDbxStatus(prompts, closed);
  return offer;
}

}  // namespace

std::string AssemblyDrawingTitle() {
  return std::string("Подготовка чертежа сборки"_cp);
}

std::optional<std::filesystem::path> AssemblyCopyPath(const std::filesystem::path& board) {
  std::string path = model::Utf8FromPath(board);
  if (path.size() < 4 || !text::EqualNoCase(std::string_view(path).substr(path.size() - 4), ".pcb"))
    return std::nullopt;
  path.resize(path.size() - 4);
  return model::PathFromUtf8(path + "_SB.pcb");
}

AssemblyOutcome PrepareAssemblyDrawing(const std::filesystem::path& board, ports::Dbx& dbx,
                                       ports::Prompts& prompts, ports::Progress& progress) {
  AssemblyOutcome outcome;
  const std::string title = AssemblyDrawingTitle();
  const std::optional<std::filesystem::path> copy = AssemblyCopyPath(board);
  if (!copy) {
    outcome.result = AssemblyResult::kNotABoard;
    prompts.TitledMessage(ports::MessageIcon::kExclamation, title,
                          std::string("Файл "_cp) + model::PathText(board) +
                              std::string(" не является файлом печатной платы (*.pcb)."_cp));
    return outcome;
  }
  outcome.copy = *copy;

  std::error_code error;
  bool make_copy = true;
  if (std::filesystem::exists(*copy, error)) {
    make_copy = prompts.TitledQuestion(title, std::string("Файл "_cp) + model::PathText(*copy) +
                                                  std::string(" уже существует. Перезаписать его?"_cp));
  }
  if (make_copy && !CopyBoard(board, *copy)) {
    outcome.result = AssemblyResult::kCopyFailed;
    prompts.TitledMessage(ports::MessageIcon::kExclamation, title,
                          std::string("Не удается скопировать файл "_cp) + model::PathText(board) +
                              std::string(" в "_cp) + model::PathText(*copy) + ".");
    return outcome;
  }

  const std::string design = "pcb:" + copy->string();
  const model::RefDes2Offer offer = Offer(*copy, design, dbx, prompts);
  const std::optional<model::RefDes2Choice> choice = prompts.RefDes2Properties(offer);
  if (!choice) return outcome;

  ports::DbxHandle handle = 0;
  const std::int32_t opened = dbx.OpenDesign(ports::kDbxVersion, design, handle);
  if (!pcad::DbxOpened(opened)) {
    pcad::ShowDbxStatus(prompts, opened);
    outcome.result = AssemblyResult::kOpenFailed;
    return outcome;
  }

  progress.Start(kAssemblyProgressSteps);
  int steps = 0;
  ports::DbxComponent component;
  for (auto status = dbx.GetFirstComponent(handle, component); status == 0;
       status = dbx.GetNextComponent(handle, component)) {
    if (model::BeginsWithDigit(component.designator)) {
      ++outcome.skipped;
      continue;
    }
    bool has_refdes2 = false;
    ports::DbxAttribute working;
    ports::DbxAttribute attribute;
    for (auto a = dbx.GetFirstCompAttribute(handle, component.designator, attribute); a == 0;
         a = dbx.GetNextCompAttribute(handle, attribute)) {
      ++outcome.attributes;
      if (steps < kAssemblyProgressSteps) {
        progress.Step();
        ++steps;
      }
      if (attribute.name == kRefDes2) {
        has_refdes2 = true;
        working = attribute;
      }
    }
    std::int32_t changed = 0;
    if (has_refdes2 && !choice->replace) {
      ++outcome.kept;
      continue;
    }
    if (has_refdes2) {
      working.text_style = choice->text_style;
      working.justification = choice->justification;
      working.layer_id = choice->layer_id;
      working.is_visible = 1;
      changed = dbx.ModifyCompAttribute(handle, component.designator, working);
      if (changed == 0) ++outcome.modified;
    } else {
      ports::DbxAttribute added;
      added.name = std::string(kRefDes2);
      added.value = component.designator;
      added.text_style = choice->text_style;
      added.justification = choice->justification;
      added.layer_id = choice->layer_id;
      added.is_visible = 1;
      added.kind = 54;
      added.owner_id = component.id;
      added.x = component.x;
      added.y = component.y;
      added.rotation = component.rotation;
      added.is_flipped = component.is_flipped;
      added.is_fixed = component.is_fixed;
      changed = dbx.AddCompAttribute(handle, component.designator, added);
      if (changed == 0) ++outcome.added;
    }
    if (changed != 0) {
      pcad::ShowDbxStatus(prompts, changed);
      break;
    }
  }

  const std::int32_t saved = dbx.SaveDesign(handle);
  if (saved != 0) pcad::ShowDbxStatus(prompts, saved);
  if (const std::int32_t closed = dbx.CloseDesign(handle, ""); closed != 0)
    pcad::ShowDbxStatus(prompts, closed);
  progress.Finish();
  if (saved != 0) {
    outcome.result = AssemblyResult::kSaveFailed;
    return outcome;
  }
  outcome.result = AssemblyResult::kDone;
  prompts.TitledMessage(ports::MessageIcon::kInformation, title, std::string("Обработка завершена."_cp));
  return outcome;
}

}  // namespace tallyform::app
