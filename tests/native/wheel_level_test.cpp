#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "moxel/wheel_volume.h"
#include "volumebar/volume_level.h"

namespace {

constexpr int16_t Up = 120, Down = -120;

TEST(WheelVolume, OneNotchWithThreeLinesAndDefaultSensitivity) {
  EXPECT_DOUBLE_EQ(WheelAmplitude(0.0f, Down, 3, 128), 0.85849609375);
  EXPECT_DOUBLE_EQ(WheelAmplitude(0.0f, Up, 3, 128), 1.14150390625);
  EXPECT_NEAR(WheelVolume(0.0f, Down, 3, 128), -1.325f, 0.001f);
  EXPECT_NEAR(WheelVolume(0.0f, Up, 3, 128), 1.150f, 0.001f);
  EXPECT_NEAR(WheelVolume(-6.0f, Up, 3, 128), -4.550f, 0.001f);
  EXPECT_NEAR(WheelVolume(-6.0f, Down, 3, 128), -7.742f, 0.001f);
  EXPECT_NEAR(WheelVolume(-20.0f, Down, 3, 128), -26.114f, 0.001f);
  EXPECT_NEAR(WheelAmplitude(-100.0f, Up, 3, 128), 0.0404407, 1e-7);
}

TEST(WheelVolume, ClampsToSilenceAndToForty_dB) {
  EXPECT_EQ(WheelAmplitude(-40.0f, Down, 3, 128), 0.0);
  EXPECT_EQ(WheelVolume(-40.0f, Down, 3, 128), -std::numeric_limits<float>::infinity());
  // Page-wise scrolling comes as 0xFFFFFFFF lines: any notch reaches a bound.
  EXPECT_EQ(WheelAmplitude(-10.0f, Up, 0xFFFFFFFF, 128), 100.0);
  EXPECT_EQ(WheelVolume(-10.0f, Up, 0xFFFFFFFF, 128), 40.0f);
  EXPECT_EQ(WheelAmplitude(-10.0f, Down, 0xFFFFFFFF, 128), 0.0);
}

TEST(WheelVolume, StepScalesWithLinesSensitivityAndDelta) {
  EXPECT_DOUBLE_EQ(WheelAmplitude(0.0f, Up, 3, 0), 1.01025390625);
  EXPECT_DOUBLE_EQ(WheelAmplitude(-12.0f, Up, 0, 128), std::pow(10.0, double(-12.0f / 20.0f)));
  const double amp = std::pow(10.0, double(-12.0f / 20.0f));
  const double notch = WheelAmplitude(-12.0f, Down, 3, 200) - amp;
  EXPECT_DOUBLE_EQ(WheelAmplitude(-12.0f, -240, 3, 200) - amp, 2 * notch);
  EXPECT_DOUBLE_EQ(WheelAmplitude(-12.0f, -30, 3, 200) - amp, notch / 4);
  // The sensitivity offset wraps in 32-bit unsigned arithmetic, as stored values can be anything.
  EXPECT_DOUBLE_EQ(WheelAmplitude(-12.0f, Up, 3, 0xFFFFFFF6), amp);
}

TEST(VolumeLevel, FramesFollowTheAmplitudeInNineteenths) {
  EXPECT_EQ(VolumeLevel(0.0f), 19);
  EXPECT_EQ(VolumeLevel(-0.469f), 18);
  EXPECT_EQ(VolumeLevel(-0.471f), 17);
  EXPECT_EQ(VolumeLevel(-0.001f), 18);
  EXPECT_EQ(VolumeLevel(-6.49f), 9);
  EXPECT_EQ(VolumeLevel(-5.58f), 9);
  EXPECT_EQ(VolumeLevel(-19.56f), 1);
  EXPECT_EQ(VolumeLevel(-25.57f), 1);
  EXPECT_EQ(VolumeLevel(-25.6f), 0);
  EXPECT_EQ(VolumeLevel(-std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(VolumeLevel(6.0f), 19);  // above full volume: the strip has no frame beyond 19
  EXPECT_EQ(VolumeLevel(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(VolumeText, WholeDecibelsWithTheirSignAndMutedAtTheFloor) {
  EXPECT_EQ(VolumeText(-12.0f), L"-12 dB");
  EXPECT_EQ(VolumeText(-12.4f), L"-12 dB");
  EXPECT_EQ(VolumeText(-12.6f), L"-13 dB");
  EXPECT_EQ(VolumeText(-0.4f), L"0 dB");  // no "-0"
  EXPECT_EQ(VolumeText(0.0f), L"0 dB");
  EXPECT_EQ(VolumeText(3.0f), L"+3 dB");
  EXPECT_EQ(VolumeText(-99.6f), L"-100 dB");
  EXPECT_EQ(VolumeText(-100.0f), L"muted");
  EXPECT_EQ(VolumeText(-std::numeric_limits<float>::infinity()), L"muted");
  EXPECT_EQ(VolumeText(std::numeric_limits<float>::quiet_NaN()), L"muted");
  EXPECT_EQ(VolumeText(std::numeric_limits<float>::infinity()), L"+999 dB");  // bounded text
}

}  // namespace
