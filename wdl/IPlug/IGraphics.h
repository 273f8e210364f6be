#pragma once
// What the plug-in core needs of an editor: a drawing preparation step and
// the mirror of parameter values into its controls.

class IGraphics {
public:
  virtual ~IGraphics() = default;
  virtual void PrepDraw() = 0;
  // value is normalised when normalized is true, else the plain value.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
};
