"""What the Edit dialog's two previews show on the screen: the output preview holds the selected area of the
source picture, filling its clipping window, and nothing outside that window; read from a look at the dialog."""
from x_session import StepFailed

# The previews in the dialog's client coordinates: left, top, width, height.
SOURCE_PREVIEW = (10, 28, 319, 222)
OUTPUT_FRAME = (371, 28, 319, 222)
# Colour distance (largest channel difference) under which two pixels show the same thing; the two players scale
# the picture differently and may be a frame apart.
SAME_COLOUR = 56
# The share of points that must agree. The players pause each on its own picture: on a loaded machine the output
# may be several pictures behind, and the test clip's moving line and squares then stand elsewhere (about a fifth
# of the points at most). A selection shown from the wrong place or scale agrees on far fewer (a shift by a tenth
# of the selection already loses about two fifths of the colour bars).
SAME_SHARE = 0.65


def fit(frame_width, frame_height, panel_width, panel_height):
    """Scale and margins of a picture shown in its own shape in a panel: (scale, left margin, top margin)."""
    if panel_width > frame_width * panel_height / frame_height:
        scale = panel_height / frame_height
        return scale, (panel_width - frame_width * scale) / 2, 0.0
    scale = panel_width / frame_width
    return scale, 0.0, (panel_height - frame_height * scale) / 2


def clip_window(crop):
    """The output preview's clipping window inside its frame (left, top, width, height) for a selection shown
    with the frame's own shape."""
    _, _, pw, ph = OUTPUT_FRAME
    shape = crop[2] / crop[3]
    if pw / ph >= shape:
        width = round(ph * shape)
        return round(pw / 2 - width / 2), 0, width, ph
    height = round(pw / shape)
    return 0, round(ph / 2 - height / 2), pw, height


def luma(pixel):
    r, g, b = pixel
    return 0.299 * r + 0.587 * g + 0.114 * b


def previews_show_pictures(picture, client):
    """Whether both previews in PICTURE (a look at the whole dialog; CLIENT: where its client area starts) show
    something other than black in their middle."""
    cx, cy = client
    for left, top, width, height in (SOURCE_PREVIEW, OUTPUT_FRAME):
        lit = sum(max(picture.pixel(cx + left + width * i // 8, cy + top + height * j // 8)) > 40
                  for i in range(2, 7) for j in range(2, 7))
        if lit < 13:
            return False
    return True


def check_edit_previews(picture, client, crop, frame, brighter):
    """PICTURE: a look at the whole dialog; CLIENT: where its client area starts; CROP: left, top, width and
    height in picture pixels of a FRAME (width, height). Raises StepFailed, naming what the output preview shows
    instead. With BRIGHTER the output has been brightened: it must be brighter than the source's selection;
    otherwise it must show the same colours."""
    cx, cy = client
    scale, mx, my = fit(frame[0], frame[1], SOURCE_PREVIEW[2], SOURCE_PREVIEW[3])
    sel_left = SOURCE_PREVIEW[0] + mx + crop[0] * scale
    sel_top = SOURCE_PREVIEW[1] + my + crop[1] * scale
    sel_width, sel_height = crop[2] * scale, crop[3] * scale
    win_left, win_top, win_width, win_height = clip_window(crop)
    win_left += OUTPUT_FRAME[0]
    win_top += OUTPUT_FRAME[1]

    # A grid of points inside the selection, away from its border (the handles and lines are drawn there).
    steps = 16
    same = lit = 0
    source_luma = output_luma = 0.0
    for i in range(steps):
        for j in range(steps):
            u, v = 0.1 + 0.8 * (i + 0.5) / steps, 0.1 + 0.8 * (j + 0.5) / steps
            source = picture.pixel(int(sel_left + u * sel_width) + cx, int(sel_top + v * sel_height) + cy)
            output = picture.pixel(int(win_left + u * win_width) + cx, int(win_top + v * win_height) + cy)
            same += max(abs(a - b) for a, b in zip(source, output)) <= SAME_COLOUR
            lit += max(output) > 40
            source_luma += luma(source)
            output_luma += luma(output)
    points = steps * steps
    source_luma /= points
    output_luma /= points
    print(f"output preview: {lit}/{points} points lit, {same}/{points} as the source's selection; mean brightness "
          f"source {source_luma:.1f}, output {output_luma:.1f}")
    if lit < points * 0.9:
        raise StepFailed(f"the output preview is black: {lit} of {points} points show a picture")
    if brighter:
        if output_luma < source_luma + 15:
            raise StepFailed(f"the output preview ({output_luma:.1f}) is not brighter than the selection "
                             f"({source_luma:.1f})")
    elif same < points * SAME_SHARE:
        raise StepFailed(f"the output preview does not show the selected area: {same} of {points} points agree")

    # The frame around the clipping window stays black: no part of the picture outside the selection shows.
    stray = 0
    for y in range(OUTPUT_FRAME[1], OUTPUT_FRAME[1] + OUTPUT_FRAME[3], 2):
        for x in range(OUTPUT_FRAME[0], OUTPUT_FRAME[0] + OUTPUT_FRAME[2], 2):
            inside = win_left - 1 <= x <= win_left + win_width and win_top - 1 <= y <= win_top + win_height
            if not inside and max(picture.pixel(x + cx, y + cy)) > 40:
                stray += 1
    if stray:
        raise StepFailed(f"the output preview shows {stray} sampled pixels outside its clipping window")
