#include "tools/mokcli/render_scene.h"

#include <cstdio>
#include <cstdlib>

#include "render/render_state.h"
#include "image/image_codecs.h"
#include "app/skin_command_steps.h"

namespace mokcli {
namespace {

constexpr int kMapSide = 256;

std::optional<int> ParseInt(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < -1000000 || value > 1000000) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<std::pair<int, int>> ParseSize(const std::string& text) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const std::optional<int> w = ParseInt(text.substr(0, x)), h = ParseInt(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > mok::kMaxFrameWidth || *h > mok::kMaxFrameHeight) return std::nullopt;
  return std::pair{*w, *h};
}

std::optional<mok::ViewAlignment> ParseView(const std::string& text) {
  static const std::pair<const char*, mok::ViewAlignment> kViews[] = {
      {"front", mok::ViewAlignment::Front}, {"back", mok::ViewAlignment::Back},
      {"left", mok::ViewAlignment::Left},   {"right", mok::ViewAlignment::Right},
      {"top", mok::ViewAlignment::Top},     {"bottom", mok::ViewAlignment::Bottom}};
  for (const auto& [name, alignment] : kViews)
    if (text == name) return alignment;
  return std::nullopt;
}

std::optional<std::pair<int, std::string>> ParseSkin(const std::string& text) {
  const std::size_t eq = text.find('=');
  if (eq == std::string::npos) return std::nullopt;
  const std::optional<int> channel = ParseInt(text.substr(0, eq));
  if (!channel || *channel < 0 || eq + 1 == text.size()) return std::nullopt;
  return std::pair{*channel, text.substr(eq + 1)};
}

bool Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return false;
}

// Applies one option that takes a value; false when the value is bad.
bool ApplyValueOption(RenderOptions& o, const std::string& name, const std::string& value) {
  if (name == "--out") o.out = value;
  else if (name == "--phong") o.phong = value;
  else if (name == "--env") o.env = value;
  else if (name == "--mode") {
    const std::optional<int> mode = ParseInt(value);
    if (!mode || *mode < 0 || *mode > 9) return Fail("--mode takes 0 to 9");
    o.mode = *mode;
  } else if (name == "--size") {
    const auto size = ParseSize(value);
    if (!size) return Fail("--size takes WxH, e.g. 640x480");
    o.width = size->first, o.height = size->second;
  } else if (name == "--skin") {
    const auto skin = ParseSkin(value);
    if (!skin) return Fail("--skin takes CHANNEL=IMAGE");
    o.skins.push_back(*skin);
  } else if (name == "--frame") {
    const std::optional<int> frame = ParseInt(value);
    if (!frame || *frame < 0) return Fail("--frame takes a frame number from 0");
    o.frame = *frame;
  } else if (name == "--distance") {
    const std::optional<int> distance = ParseInt(value);
    if (!distance || *distance < 1) return Fail("--distance takes a whole number from 1");
    o.distance = static_cast<float>(*distance);
  } else if (name == "--view") {
    o.view = ParseView(value);
    if (!o.view) return Fail("--view takes front, back, left, right, top or bottom");
  } else {
    return Fail("unknown option " + name);
  }
  return true;
}

// An image loaded as a map: exactly 256 x 256.
std::unique_ptr<mok::SkinSlot> LoadMap(const std::string& path, mok::ImageMode mode) {
  mok::Result<mok::SkinSlot> image = mok::LoadImageFile(path, mode);
  if (!image) {
    Fail(image.error().message);
    return nullptr;
  }
  if (image->width != kMapSide || image->height != kMapSide) {
    Fail(path + ": maps must be 256x256");
    return nullptr;
  }
  return std::make_unique<mok::SkinSlot>(std::move(*image));
}

}  // namespace

std::optional<RenderOptions> ParseRenderOptions(const Arguments& args, bool withOut) {
  RenderOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--filtered") o.filtered = true;
    else if (arg == "--raytrace") o.raytrace = true;
    else if (arg.rfind("--", 0) == 0) {
      if ((arg == "--out" && !withOut) || i + 1 == args.size()) {
        Fail("option " + arg + " is not accepted here or lacks its value");
        return std::nullopt;
      }
      if (!ApplyValueOption(o, arg, args[++i])) return std::nullopt;
    } else if (o.mesh.empty()) {
      o.mesh = arg;
    } else {
      Fail("unexpected argument " + arg);
      return std::nullopt;
    }
  }
  if (o.mesh.empty() || (withOut && o.out.empty())) {
    Fail(withOut ? "a mesh and --out FILE.bmp are needed" : "a mesh is needed");
    return std::nullopt;
  }
  return o;
}

RenderScene::RenderScene() : app_(settings_, prompter_, dialogs_, refresh_), view_(std::make_unique<mok::ViewRecord>()) {}
RenderScene::~RenderScene() = default;

bool RenderScene::Build(const RenderOptions& options) {
  if (!LoadMeshForCli(app_.doc(), options.mesh)) return false;
  if (options.frame >= static_cast<int>(app_.doc().frames.size()))
    return Fail("the mesh has " + std::to_string(app_.doc().frames.size()) + " frames");
  if (options.frame >= 0) app_.doc().SetCurrentFrame(options.frame);
  if (!LoadSkins(options) || !LoadMaps(options)) return false;
  mok::ResizeFrameBuffer(view_->frame, options.width, options.height, false);
  view_->camera.filtered = options.filtered ? 1 : 0;
  PlaceCamera(options);
  mok::RenderState& state = mok::RenderStateOf(app_);
  const int before = state.currentMode;
  if (!mok::SelectRenderMode(app_, &view_->frame, options.mode)) return false;
  // The program starts in mode 5 without a shade buffer; staying in a mode
  // that keeps one still needs it.
  if (state.currentMode == before) mok::SetShadeBuffer(view_->frame, mok::FactsOf(before).keepsShade);
  return true;
}

bool RenderScene::LoadSkins(const RenderOptions& options) {
  mok::MeshDocument& doc = app_.doc();
  for (const auto& [channel, path] : options.skins) {
    if (channel >= doc.slotCount()) return Fail("--skin: channel " + std::to_string(channel) + " has no slot");
    mok::Result<mok::SkinSlot> image = mok::LoadImageFile(path, mok::ImageMode::TrueColor);
    if (!image) return Fail(image.error().message);
    // The channel's coordinates follow the new image size, as Skins > Open does.
    mok::ReplaceSkin(doc, *doc.skinSlots[static_cast<std::size_t>(channel)], std::move(*image));
  }
  return true;
}

bool RenderScene::LoadMaps(const RenderOptions& options) {
  const std::pair<const std::string&, mok::MapList&> maps[] = {{options.phong, app_.phongMaps}, {options.env, app_.envMaps}};
  for (const auto& [path, list] : maps) {
    if (path.empty()) continue;
    std::unique_ptr<mok::SkinSlot> map = LoadMap(path, &list == &app_.phongMaps ? mok::ImageMode::Indexed : mok::ImageMode::TrueColor);
    if (!map) return false;
    list.maps.push_back(std::move(map));
    list.index = static_cast<std::int16_t>(list.count() - 1);
  }
  return true;
}

void RenderScene::PlaceCamera(const RenderOptions& options) {
  if (options.view) mok::AlignCamera(view_->camera, *options.view);
  if (options.distance > 0) view_->camera.distance = options.distance;
  mok::CenterOnScene(view_->camera, app_.doc());
}

}  // namespace mokcli
