#pragma once
// The context's current path: lines, cubic curves, rectangles and
// ellipses, filled or stroked. Drawing anti-aliases by coverage sampled at
// 4 x 4 points a pixel, so a shape with integer edges covers whole pixels
// exactly. Strokes have butt ends; where segments meet, each is carried on
// by half the line width, which fills a right-angle corner square. A drawn
// path is emptied. Every call accepts a null context.

#include "platform/coregraphics/CGContext.h"

enum CGPathDrawingMode
{
  kCGPathFill = 0,
  kCGPathEOFill = 1,
  kCGPathStroke = 2,
  kCGPathFillStroke = 3
};

void CGContextBeginPath(CGContextRef c);
void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y);
// Without a current point the platform logs and ignores these; so do we.
void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y);
void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x,
                              CGFloat y);
void CGContextClosePath(CGContextRef c);
void CGContextAddRect(CGContextRef c, CGRect rect);
void CGContextAddEllipseInRect(CGContextRef c, CGRect rect);
bool CGContextIsPathEmpty(CGContextRef c);

void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
// In user units; negative widths are ignored.
void CGContextSetLineWidth(CGContextRef c, CGFloat width);

// Fill uses the non-zero winding rule, EOFill the even-odd rule.
void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode);
void CGContextFillPath(CGContextRef c);
void CGContextStrokePath(CGContextRef c);
void CGContextStrokeRect(CGContextRef c, CGRect rect);
void CGContextFillEllipseInRect(CGContextRef c, CGRect rect);
void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect);
