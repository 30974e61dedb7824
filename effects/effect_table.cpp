#include "effects/effect_table.h"

#include "effects/blinds.h"
#include "effects/fade.h"
#include "effects/pivots.h"
#include "effects/shape_shreds.h"
#include "effects/zigzags_diamonds.h"

namespace pavona::effects {

using transition::efDrawsEveryPixel;
using transition::efSeeded;

// Rows without a procedure belong to effect families that are not built yet; their frames show
// the starting picture.
const std::array<transition::TEffect, transition::kMaxStyle> EffectTable = {{
    {"Expand from right"},  // 1
    {"Expand from left"},  // 2
    {"Slide in from right"},  // 3
    {"Slide in from left"},  // 4
    {"Reveal from left"},  // 5
    {"Reveal from right"},  // 6
    {"Expand in from right"},  // 7
    {"Expand in from left"},  // 8
    {"Expand in to middle"},  // 9
    {"Expand out from middle"},  // 10
    {"Reveal out from middle"},  // 11
    {"Reveal in from sides"},  // 12
    {"Expand in from sides"},  // 13
    {"Unroll from left"},  // 14
    {"Unroll from right"},  // 15
    {"Build up from right"},  // 16
    {"Build up from left"},  // 17
    {"Expand from bottom"},  // 18
    {"Expand from top"},  // 19
    {"Slide in from bottom"},  // 20
    {"Slide in from top"},  // 21
    {"Reveal from top"},  // 22
    {"Reveal from bottom"},  // 23
    {"Expand in from bottom"},  // 24
    {"Expand in from top"},  // 25
    {"Expand in to middle (horizontal)"},  // 26
    {"Expand out from middle (horizontal)"},  // 27
    {"Reveal from middle (horizontal)"},  // 28
    {"Slide in from top and bottom"},  // 29
    {"Expand in from top and bottom"},  // 30
    {"Unroll from top"},  // 31
    {"Unroll from bottom"},  // 32
    {"Expand from bottom"},  // 33
    {"Expand in from top"},  // 34
    {"Expand from bottom right"},  // 35
    {"Expand from top right"},  // 36
    {"Expand from top left"},  // 37
    {"Expand from bottom left"},  // 38
    {"Slide in from bottom right"},  // 39
    {"Slide in from top right"},  // 40
    {"Slide in from top left"},  // 41
    {"Slide in from bottom left"},  // 42
    {"Reveal from top left"},  // 43
    {"Reveal from bottom left"},  // 44
    {"Reveal from bottom right"},  // 45
    {"Reveal from top right"},  // 46
    {"Appear and Contract to top left"},  // 47
    {"Appear and Contract to bottom left"},  // 48
    {"Appear and Contract to bottom right"},  // 49
    {"Appear and Contract to top right"},  // 50
    {"Appear and Contract to middle"},  // 51
    {"Expand out from centre"},  // 52
    {"Reveal out from centre"},  // 53
    {"Reveal in to centre"},  // 54
    {"Quarters Reveal in to middle"},  // 55
    {"Quarters Expand to middle"},  // 56
    {"Quarters Slide in to middle"},  // 57
    {"Curved Reveal from left"},  // 58
    {"Curved Reveal from right"},  // 59
    {"Bars in from right"},  // 60
    {"Bars in from left"},  // 61
    {"Bars left then right"},  // 62
    {"Bars right then left"},  // 63
    {"Bars from both sides"},  // 64
    {"Uneven shred from right"},  // 65
    {"Uneven shred from left"},  // 66
    {"Uneven shred out from middle (horizontal)"},  // 67
    {"Uneven shred in to middle (horizontal)"},  // 68
    {"Curved Reveal from top"},  // 69
    {"Curved Reveal from bottom"},  // 70
    {"Bars from bottom"},  // 71
    {"Bars from top"},  // 72
    {"Bars top then bottom"},  // 73
    {"Bars bottom then top"},  // 74
    {"Bars from top and bottom"},  // 75
    {"Unven shred from bottom"},  // 76
    {"Uneven shred from top"},  // 77
    {"Uneven shred from horizon"},  // 78
    {"Uneven shred in to horizon"},  // 79
    {"Curved reveal from top left"},  // 80
    {"Curved reveal from top right"},  // 81
    {"Curved reveal from bottom left"},  // 82
    {"Curved reveal from bottom right"},  // 83
    {"Elliptic reveal out from centre"},  // 84
    {"Elliptic reveal in to centre"},  // 85
    {"Criss Cross reveal from bottom right"},  // 86
    {"Criss Cross reveal from top right"},  // 87
    {"Criss Cross reveal from bottom left"},  // 88
    {"Criss Cross reveal from top left"},  // 89
    {"Criss Cross reveal bounce from top left"},  // 90
    {"Criss Cross reveal bounce from bottom left"},  // 91
    {"Criss Cross reveal bounce from top right"},  // 92
    {"Criss Cross reveal bounce from bottom right"},  // 93
    {"Criss Cross reveal from right top and bottom"},  // 94
    {"Criss Cross reveal from left top and bottom"},  // 95
    {"Criss Cross reveal from left right and bottom"},  // 96
    {"Criss Cross reveal from left right and top"},  // 97
    {"Criss Cross reveal from top left right and bottom"},  // 98
    {"Criss Cross reveal from bottom left top right"},  // 99
    {"Uneven shred from bottom and right"},  // 100
    {"Uneven shred from top and right"},  // 101
    {"Uneven shred from bottom and left"},  // 102
    {"Uneven shred from top and left"},  // 103
    {"Uneven shred from horizon and right"},  // 104
    {"Uneven shred from horizon and left"},  // 105
    {"Uneven shred from bottom and vert middle"},  // 106
    {"Uneven shred from top and vert middle"},  // 107
    {"Uneven shred from centre"},  // 108
    {"Uneven shred to centre"},  // 109
    {"Reveal diagonal from top left"},  // 110
    {"Reveal diagonal from top right"},  // 111
    {"Reveal diagonal from bottom left"},  // 112
    {"Reveal diagonal from bottom right"},  // 113
    {"Diagonal sweep from top left bottom right anticlockwise"},  // 114
    {"Diagonal sweep from top left bottom right clockwise"},  // 115
    {"Starburst clockwise from center"},  // 116
    {"Starburst anticlockwise from center"},  // 117
    {"Triangular shred", TriangularShred},  // 118
    {"Fade", Fade, efDrawsEveryPixel},  // 119
    {"Pivot from top left", PivotFromTopLeft, efDrawsEveryPixel},  // 120
    {"Pivot from bottom left", PivotFromBottomLeft, efDrawsEveryPixel},  // 121
    {"Pivot from top right", PivotFromTopRight, efDrawsEveryPixel},  // 122
    {"Pivot from bottom right", PivotFromBottomRight, efDrawsEveryPixel},  // 123
    {"Speckle appear from right"},  // 124
    {"Speckle appear from left"},  // 125
    {"Speckle appear from bottom"},  // 126
    {"Speckle appear from top"},  // 127
    {"Random squares appear"},  // 128
    {"Push right"},  // 129
    {"Push left"},  // 130
    {"Push and squeeze right"},  // 131
    {"Push and squeeze left"},  // 132
    {"Push down"},  // 133
    {"Push up"},  // 134
    {"Push and sqeeze down"},  // 135
    {"Push and sqeeze up"},  // 136
    {"Blind vertically", BlindVertically},  // 137
    {"Blind horizontally", BlindHorizontally},  // 138
    {"Uneven blind from left", UnevenBlindFromLeft},  // 139
    {"Uneven blind from right", UnevenBlindFromRight},  // 140
    {"Uneven blind from top", UnevenBlindFromTop},  // 141
    {"Uneven blind from bottom", UnevenBlindFromBottom},  // 142
    {"Rectangular shred", RectangularShred},  // 143
    {"Sweep clockwise"},  // 144
    {"Sweep anticlockwise"},  // 145
    {"Rectangles apear from left and disapear to right", RectanglesFromLeft},  // 146
    {"Rectangles apear from right and disapear to left", RectanglesFromRight},  // 147
    {"Rectangles apear from up and disapear to bottom", RectanglesFromTop},  // 148
    {"Rectangles apear from bottom and disapear to up", RectanglesFromBottom},  // 149
    {"Rotational rectangle in center"},  // 150
    {"Rotational star in center"},  // 151
    {"Spiral rectangle"},  // 152
    {"Circular shred", CircularShred},  // 153
    {"Reveal V from left"},  // 154
    {"Reveal V from right"},  // 155
    {"Reveal V from top"},  // 156
    {"Reveal V from bottom"},  // 157
    {"Bow Tie Horizontal"},  // 158
    {"Bow Tie Vertical"},  // 159
    {"Diagonal Cross In"},  // 160
    {"Diagonal Cross Out"},  // 161
    {"Zigzag Horizontal", ZigzagHorizontal},  // 162
    {"Zigzag Vertical", ZigzagVertical},  // 163
    {"Diamond shred", DiamondShred},  // 164
    {"Reveal diamond out from centre", RevealDiamondOut},  // 165
    {"Reveal diamond in to centre", RevealDiamondIn},  // 166
    {"Diagonal Box Out", DiagonalBoxOut},  // 167
    {"Pixelate"},  // 168
    {"Dissolve"},  // 169
    {"Random Bars Horizontal"},  // 170
    {"Random Bars Vertical"},  // 171
    {"Channel Mix"},  // 172
    {"Slide out from right"},  // 173
    {"Slide out from left"},  // 174
    {"Slide out from bottom"},  // 175
    {"Slide out from top"},  // 176
}};

}  // namespace pavona::effects
