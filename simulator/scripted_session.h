// The simulator's demonstration: a short session played on the moxel through real input,
// with each executed command and volume change printed and pictures of the screen corner.
#pragma once

#include <string>

#include "simulator/player_session.h"

// Plays the session; pictures go to `pictureFolder` (moxel.png, moxel-hovered.png,
// volume-bar.png). Answers false when the moxel cannot be found.
bool PlayScriptedSession(player_session& session, const std::string& pictureFolder);

// Opens the player's preferences on the component's page, edits the first binding through
// the page's controls (Ctrl added), applies, and saves a picture of the page (page.png).
bool EditPreferences(player_session& session, const std::string& pictureFolder);

// Moves the moxel into each corner through the page, turns the wheel there and saves a
// picture of the corner (corner-top-left.png, corner-top-right.png, corner-bottom-left.png,
// corner-bottom-right.png); the moxel ends at the top left.
bool TourCorners(player_session& session, const std::string& pictureFolder);

// On a desktop of several monitors: puts the moxel into each outer corner of the desktop
// through the page, turns the wheel there and saves one picture of the four corners, each in
// its place (outer-corners.png); the moxel ends at the top left of the main screen.
bool TourOuterCorners(player_session& session, const std::string& pictureFolder);

// Shows the player's own window and dispatches messages until the user closes it.
void RunInteractively(player_session& session);
