#include "sequence_generator.h"

#include <exception>
#include <optional>

#include "frame_composer.h"
#include "jasc_palette.h"
#include "sequence_plan.h"
#include "standard_functions.h"
#include "unit_tables.h"

namespace varnel {

namespace {

// A numbered frame name: prefix, a frame number of the given digits, and ".bmp"
// in any case. The extension is kept as written, so that every frame of a set
// is looked for in the same case on file systems that tell case apart.
struct NumberedName {
  std::string prefix;
  std::string extension;
};

std::optional<NumberedName> numberedName(const std::string& path, std::size_t digits) {
  const std::string fileName = SplitPath(path).fileName;
  const std::size_t suffix = digits + 4;
  if (fileName.size() < suffix) return std::nullopt;
  const std::string tail = path.substr(path.size() - suffix);
  for (std::size_t i = 0; i < digits; ++i) {
    if (tail[i] < '0' || tail[i] > '9') return std::nullopt;
  }
  const std::string extension = tail.substr(digits);
  if (!equalsIgnoringCase(extension, ".bmp")) return std::nullopt;
  return NumberedName{path.substr(0, path.size() - suffix), extension};
}

struct RunFiles {
  NumberedName source;
  NumberedName output;
  std::string weaponPrefix;
  std::string nullBitmap;

  std::string layerPath(const LayerRef& layer) const {
    switch (layer.kind) {
      case LayerKind::Source: return source.prefix + NumToStr(layer.number, 3) + source.extension;
      case LayerKind::Weapon: return weaponPrefix + NumToStr(layer.number, 3) + ".bmp";
      case LayerKind::DeadBody: return deadBodyPath();
      case LayerKind::Null: break;
    }
    return nullBitmap;
  }
  std::string deadBodyPath() const { return source.prefix + "_DEAD" + source.extension; }
  std::string outputPath(int number) const { return output.prefix + NumToStr(number, 4) + output.extension; }
};

Status checkPaletteChoice(const GenerationOptions& options, const VarnelFolders& folders,
                          std::optional<Palette>& palette) {
  if (options.palette == ConversionPalette::None) return Status::success();
  const std::string fileName = options.palette == ConversionPalette::Ra2 ? "ra2.pal" : "combo.pal";
  const std::string path = BuildPath(folders.AppFolder, fileName);
  if (!FileExists(path, false)) {
    return Status::failure("The palette file \"" + fileName + "\" was not found in the folder \"" +
                           folders.AppFolder + "\". Put it there or choose another conversion palette.");
  }
  Palette entries;
  if (Status read = readJascPalette(path, entries); !read) return read;
  palette = std::move(entries);
  return Status::success();
}

Status checkRun(const UnitProfile& profile, const GenerationOptions& options, const VarnelFolders& folders,
                RunFiles& files, FrameConversion& conversion) {
  if (profile.UnitType < 0 || profile.UnitType >= kUnitTypeCount || profile.Weapon < 0 ||
      profile.Weapon >= kWeaponCount) {
    return Status::failure("The profile's unit type or weapon is not one of the list.");
  }
  if (profile.UnitType >= kUnitTypesWithLayout) {
    return Status::failure("The unit type \"" + std::string(unitTypeTable()[static_cast<std::size_t>(profile.UnitType)]) +
                           "\" has no frame layout, so no output sequence can be made for it.");
  }
  const std::optional<NumberedName> source = numberedName(profile.SourceFile, 3);
  if (!source) {
    return Status::failure("The source file name \"" + profile.SourceFile +
                           "\" must end in a three-digit frame number and \".bmp\", like unit033.bmp.");
  }
  const std::optional<NumberedName> output = numberedName(profile.OutputFile, 4);
  if (!output) {
    return Status::failure("The output file name \"" + profile.OutputFile +
                           "\" must end in a four-digit frame number and \".bmp\", like mut0005.bmp.");
  }
  if (!FileExists(profile.SourceFile, true)) {
    return Status::failure("The source file \"" + profile.SourceFile + "\" does not exist.");
  }
  if (!FolderExists(GetFolder(profile.OutputFile), true)) {
    return Status::failure("The output folder \"" + GetFolder(profile.OutputFile) + "\" does not exist.");
  }
  if (Status palette = checkPaletteChoice(options, folders, conversion.targetPalette); !palette) return palette;

  const std::string weapon(weaponTable()[static_cast<std::size_t>(profile.Weapon)].text);
  files = RunFiles{*source, *output, BuildPath(folders.ResourcesFolder, "weapons/" + weapon), folders.NullBitmapPath};
  conversion.vgaPalettePath = BuildPath(folders.AppFolder, "vga_qorm.pal");
  conversion.slots = conversionSlots(options.remapExact, options.remapClose);
  conversion.ra2Background = options.ra2Background;
  return Status::success();
}

Status writeFrame(const FrameSpec& spec, const RunFiles& files, const UnitProfile& profile,
                  const FrameConversion& conversion) {
  const FrameLayers layers{files.layerPath(spec.A), files.layerPath(spec.B), files.layerPath(spec.W),
                           files.layerPath(spec.C), files.layerPath(spec.D)};
  int bodyY = spec.bodyY;
  if (spec.bodyYFromGap) {
    std::int16_t gap = 0;
    if (Status measured = MeasureBodyGap(layers.A, layers.B, gap); !measured) return measured;
    bodyY = gap;
  }
  return ComposeFrame(spec.facing, layers, bodyY, profile.WeaponOffsetY, files.outputPath(spec.outputNumber),
                      spec.bob, conversion);
}

}  // namespace

GenerationReport GenerateSequence(const UnitProfile& profile, const GenerationOptions& options,
                                  const VarnelFolders& folders) {
  GenerationReport report;
  RunFiles files;
  FrameConversion conversion;
  report.status = checkRun(profile, options, folders, files, conversion);
  if (!report.status) return report;
  report.outputFolder = GetFolder(profile.OutputFile);

  SequenceChoices choices;
  choices.unitType = profile.UnitType;
  choices.weaponHands = weaponTable()[static_cast<std::size_t>(profile.Weapon)].hands;
  choices.altTorso = options.altTorso;
  choices.canCrouch = options.canCrouch;
  choices.flyingSuit = options.flyingSuit;

  try {
    for (const SequenceSpec& sequence : planSequences(choices)) {
      SequenceResult& result = report.sequences.emplace_back(SequenceResult{sequence.name, 0, false});
      if (sequence.onlyWithDeadBodySource && !FileExists(files.deadBodyPath(), false)) {
        result.skipped = true;
        continue;
      }
      for (const FrameSpec& frame : sequence.frames) {
        Status written = writeFrame(frame, files, profile, conversion);
        if (!written) {
          report.status = Status::failure("Frame " + NumToStr(frame.outputNumber, 4) + " of the " + sequence.name +
                                          " sequence could not be made: " + written.message() +
                                          " The frames written before it are kept.");
          return report;
        }
        ++result.framesWritten;
        ++report.framesWritten;
      }
    }
  } catch (const std::exception& error) {
    report.status = Status::failure(std::string("The output sequence could not be made: ") + error.what());
  }
  return report;
}

}  // namespace varnel
