#pragma once
// The file names of the converter's own pictures in its skin folder, in the order the converter loads them.
inline const char* const kApplicationPictures[] = {
    "open.png", "trim.png", "edit.png", "open_over.png", "trim_over.png", "edit_over.png",
    "convert.png", "convert_over.png",
    "play.png", "pause.png", "stop.png", "photo.png", "setstart.png", "setend.png", "playpart.png",
    "profilescombo_over.bmp", "profilescombo.bmp", "tablerow.bmp", "tablecolumncaptionbar.bmp", "filmicon.bmp",
    "like.png", "tweet.png", "like_over.png", "tweet_over.png",
    "dragdrop.png", "open_for_gs.png", "volume.png",
    "gettingstarted.bmp", "preview.bmp",
    "trim_left.bmp", "trim_right.bmp", "imgarrow.png", "imgarrow_over.png",
};
