#pragma once
// Nine-part composition: a resizable skin element is cut by four corner points and a client rectangle into
// corners (copied), edges (stretched or tiled along their length) and a client part (tiled or stretched), and
// rebuilt at any size. Points and ClRect are relative to SkinRect's top-left corner.
#include "platform/rtl/types.h"
#include "skin/core/skin_file_forms.h"

class TBitmap;

void ComposeSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                      TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest,
                      TBitmap* Picture, TRect SkinRect, Integer NewWidth, Integer NewHeight, bool DrawClient,
                      bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch, bool StretchEffect,
                      TspStretchType StretchType);

// Hint, popup-menu and image-menu windows; the same picture as ComposeSkinImage.
void ComposeWindowSkinImage(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect, TPoint NewLTPoint,
                            TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest,
                            TBitmap* Picture, TRect SkinRect, Integer NewWidth, Integer NewHeight, bool DrawClient,
                            bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch,
                            bool StretchEffect, TspStretchType StretchType);

// The element without its right column: top and bottom edges and the client run to the new right border.
void ComposeSkinImageNoRightEdge(TPoint LTPt, TPoint RTPt, TPoint LBPt, TPoint RBPt, TRect ClRect,
                                 TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                                 TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect, Integer NewWidth,
                                 Integer NewHeight, bool DrawClient, bool LeftStretch, bool TopStretch,
                                 bool RightStretch, bool BottomStretch, bool StretchEffect,
                                 TspStretchType StretchType);

// Corner points on ClRect's corners, every edge stretched; Dest already has the new size.
void ComposeSkinImageSimple(TBitmap* Dest, TBitmap* Picture, TRect SkinRect, TRect ClRect, bool DrawClient);

// Dest of the new size with only the client part, laid from Dest's origin.
void ComposeSkinClientImage(TRect ClRect, TRect NewClRect, TBitmap* Dest, TBitmap* Picture, TRect SkinRect,
                            Integer NewWidth, Integer NewHeight, bool StretchEffect, TspStretchType StretchType);
