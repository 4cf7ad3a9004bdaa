#include "shell/skin_resize_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {
namespace {

constexpr double kUvMin = 1;

}  // namespace

SkinResizeWindow::SkinResizeWindow(const ResizeSkinDialog& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), state_(state), prompter_(prompter) {
  SetUpDialog(*this, "Resize Skin / UV Mapping");
  auto* layout = new QVBoxLayout(this);
  skin_ = AddHalf(*layout, "Skin Image", "Affect Skin Image", "skin");
  auto* synchronize = new QPushButton(QStringLiteral(">> Syncronize Settings"));
  synchronize->setAutoDefault(false);
  connect(synchronize, &QPushButton::clicked, this, [this] { SynchronizeSettings(); });
  layout->addWidget(synchronize);
  uv_ = AddHalf(*layout, "UV Mapping", "Sync UV Mapping", "uv");

  skin_.enabled->setChecked(state.affectSkinImage);
  skin_.fromWidth->setText(QString::number(state.fromWidth));
  skin_.fromHeight->setText(QString::number(state.fromHeight));
  skin_.fromWidth->setReadOnly(true);
  skin_.fromHeight->setReadOnly(true);
  skin_.choice->button(static_cast<int>(state.skinChoice))->setChecked(true);
  skin_.toWidth->setText(QString::number(state.toWidth));
  skin_.toHeight->setText(QString::number(state.toHeight));

  uv_.enabled->setChecked(state.syncUvMapping);
  uv_.fromWidth->setText(NumberText(state.uvFromWidth));
  uv_.fromHeight->setText(NumberText(state.uvFromHeight));
  uv_.choice->button(static_cast<int>(state.uvChoice))->setChecked(true);
  uv_.toWidth->setText(NumberText(state.uvToWidth));
  uv_.toHeight->setText(NumberText(state.uvToHeight));
  AddOkCancel(*this, *layout);
}

SkinResizeWindow::Half SkinResizeWindow::AddHalf(QBoxLayout& layout, const char* title, const char* check,
                                                 const char* prefix) {
  const QString name = QString::fromLatin1(prefix);
  auto* group = new QGroupBox(QString::fromLatin1(title));
  auto* groupLayout = new QVBoxLayout(group);
  Half half{};
  half.enabled = AddCheck(*groupLayout, check, false);
  groupLayout->addWidget(new QLabel(QStringLiteral("From:")));
  auto* from = new QGridLayout;
  groupLayout->addLayout(from);
  half.fromWidth = AddField(*from, QStringLiteral("Width"), (name + "FromWidth").toLatin1().constData(), QString());
  half.fromHeight = AddField(*from, QStringLiteral("Height"), (name + "FromHeight").toLatin1().constData(), QString());
  groupLayout->addWidget(new QLabel(QStringLiteral("To:")));
  half.choice = AddRadios(*this, *groupLayout, {"128x128", "256x256", "512x512", "Other"}, -1);
  auto* to = new QGridLayout;
  groupLayout->addLayout(to);
  half.toWidth = AddField(*to, QStringLiteral("Width"), (name + "ToWidth").toLatin1().constData(), QString());
  half.toHeight = AddField(*to, QStringLiteral("Height"), (name + "ToHeight").toLatin1().constData(), QString());
  layout.addWidget(group);
  return half;
}

void SkinResizeWindow::SynchronizeSettings() {
  uv_.fromWidth->setText(skin_.fromWidth->text());
  uv_.fromHeight->setText(skin_.fromHeight->text());
  uv_.toWidth->setText(skin_.toWidth->text());
  uv_.toHeight->setText(skin_.toHeight->text());
  uv_.choice->button(skin_.choice->checkedId())->setChecked(true);
}

void SkinResizeWindow::accept() {
  FieldCheck check(prompter_);
  const std::optional<int> toWidth = check.Integer(*skin_.toWidth, kNewSkinMinSize, kResizeMaxSize);
  const std::optional<int> toHeight = check.Integer(*skin_.toHeight, kNewSkinMinSize, kResizeMaxSize);
  const std::optional<double> uvFromWidth = check.Number(*uv_.fromWidth, kUvMin, kResizeMaxSize);
  const std::optional<double> uvFromHeight = check.Number(*uv_.fromHeight, kUvMin, kResizeMaxSize);
  const std::optional<double> uvToWidth = check.Number(*uv_.toWidth, kUvMin, kResizeMaxSize);
  const std::optional<double> uvToHeight = check.Number(*uv_.toHeight, kUvMin, kResizeMaxSize);
  if (!check.ok()) return;
  state_.affectSkinImage = skin_.enabled->isChecked();
  state_.skinChoice = static_cast<ResizeChoice>(skin_.choice->checkedId());
  state_.toWidth = *toWidth;
  state_.toHeight = *toHeight;
  state_.syncUvMapping = uv_.enabled->isChecked();
  state_.uvFromWidth = *uvFromWidth;
  state_.uvFromHeight = *uvFromHeight;
  state_.uvChoice = static_cast<ResizeChoice>(uv_.choice->checkedId());
  state_.uvToWidth = *uvToWidth;
  state_.uvToHeight = *uvToHeight;
  QDialog::accept();
}

}  // namespace mok::shell
