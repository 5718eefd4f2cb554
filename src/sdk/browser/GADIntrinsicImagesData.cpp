// Written by tools/imagegen; do not edit. The PNG files of GADIntrinsicImages as Base64
// text. To draw them afresh (needs cairo: libcairo2-dev), from the source root:
//
//   cmake --build build --target imagegen && build/tools/imagegen/imagegen write .
//   cmake --build build -j2 && build/tools/imagegen/imagegen preview build/test-output/images
//
// then look at build/test-output/images/sheet.png and commit this file with
// tools/imagegen/png/. The drawing is in tools/imagegen/ButtonPictures.cpp.
#include "sdk/browser/GADIntrinsicImagesData.h"

// 50 × 50: black disc, white rim, white diagonal cross, soft drop shadow; 2294 bytes of PNG.
const char kGADIntrinsicCloseButtonPNGBase64[] =
    "iVBORw0KGgoAAAANSUhEUgAAADIAAAAyCAYAAAAeP4ixAAAABmJLR0QA/wD/AP+gvaeTAAAIq0lEQVRoge1aXUxU2xX+Zgbn"
    "IAOOCBRHZwSHwQZRVEjaKBlrFQ14+RPa3gdfmsY0rUTnQhC5aZuq2EmmiTFpUsNLQy7GJ+OD0XuNkatYb9r0QVoTfocZYTKE"
    "4aYwDfPDnGE8s/twzj6eGeZ/pDZNV7Jy/vZee317rb3W/jnA/+m/i2SbKCuebJLkOSPKybK+LOpeLlylLCUSxeEY3zOiTIHI"
    "JFe5wAoAOXV1dYzFYqnSarWV+fn5pXK5XAUA4XDY7/P5vnU6ndb+/v7p169fBwG8A8CBByQF9UGslAoIOfhOYADkm0ymPVar"
    "1eT1er/mOM5HkhDHcT6Px/O11Wq9fPHiRR2AfEFWDt5bdVMByMD3PAOg4Pbt21VLS0uDqSifCJTL5bpjsVi+KwGkQGzXTKhc"
    "OiDkAJS7du3Ke/Xq1cWysrIrCoUiP7qww+HA+Pg45ubm4Pf7AQAqlQp6vR4HDhzAnj17NjTAcZx3fn7+98ePHx9cXFxcA7AO"
    "3t3oeMqaKIAtAApu3LhR7fF4vonu2fHxcdLT00P27t0bPaA3sF6vJ729vWRycnKDhVZXV/987dq1/eCtswUfyNVEKwDYNjg4"
    "eJRlWYe04ampKdLa2kpkMllSANEsk8lIe3s7mZ6ejgDDsuzC0NCQEcA2oe2swESDOB4KhZYlvk0GBgaIUqlMG0A0MwxDzGYz"
    "4ThOBLO+vr58586drMFEuNOVK1cOsyy7QBvx+XykqakpawDR3NzcTHy+93EjEAg4TSZTDYACZOhmMvChUFVUVLTb7Xb/RQri"
    "2LFjHxwE5fr6+ggwbrf7VVFR0W4AKkGntCKZHEAugOI3b978TupOm2GJaG5ubo5ws7GxsRsAigWdUraKDLwZ1ZcuXfpeKBQS"
    "u2dgYGDTQVA2m80ikFAo5Llw4UIdALWgW1IgNOHlAdDMzs5+QYXNzMwQhmFiNtrY2EhMJhMpKSlJWdHi4mJiMplIY2NjzO9K"
    "pTIimk1PT/8JgEbQjSbMpNbYfvr06cPv3r3zU0Gtra1xQVCy2WxEp9MlBaHT6cjs7KxYLx6Yjo4OqVX8RqOxBsD2ZFaRjo2d"
    "L1++/C0VMj4+HjdPdHd3R+SAZGB0Oh2x2WwRdbq7u2OWlcvlEUnz+fPnvwFQiiRjhUaqAgB7XS7XX6mAnp6euIqVlJRsUCwe"
    "mFggZmdnSXFxcVz5fX19YtnFxcVvAJQLOsaNYDLwiWdHaWnpwVAoJLpVsmmHVquNcBVCCJmfnyfl5eUJQUSXicUGg0HqXr7C"
    "wsKDAHbEcy+pW5XevHnzU1rZ4XCkNHgTgckUBGWn0ynWu379+o8TuRcFkgdA++DBg1/Tio8fP045EsVS2Gazpex68fjJkydi"
    "3fv3738OQCvoKgKRS8CIq7zCwsLv0Jdzc3PR1otLTqcTJ06cgM1mE99VVFSgoqJCfHY4HGhoaIDT6UxZ7tu3b8X7wsLCnXi/"
    "ABP1l0fVkQHIUSqVBfSFx+NJuUEAWFhYwMmTJ2G32zd8s9vtMBqNmJ+fT0vm6uqqeM8wDB3oEbpLH8T1dzgc3pSlZk5ODhQK"
    "RVYyCCHSfQJRz2iLAIBsbW0tQB/UanVaDel0Orx48SLCnSiVlZVhdHQU5eXlacmU6uD3+9cQI1rFAkKWlpZW6EM6jcYCYbfb"
    "I9ysrKwMIyMj0Ol0KcvV6/XivcvlWgYfBGISTYbbABguX77883TDb6IQm0qeScTS8NvV1XUBgEHQdUNSlGb1crVa3RAMBgO0"
    "sl6vzxgELZMpmMrKSrF8MBhcU6lUp8Bn9/x4QMQ8AqDebrf/nQro7e39aFOU/v5+adnXAI4hRh6JBpILPmvW3b17949UwMTE"
    "xEebNE5NTYnlhoaG/gCgFkkmjnQKvwPAfoPB8COpe7W3t8dsbDOn8Z2dnRFupdfrOwFUIcFciwIRxwmAE6Ojo19RQVar9T+6"
    "sGIYJmJhNTIy8gjAD5Di7FdcjwCoPXr06M9Yll2jwsxmc8qKZssWi0UEEQgE/LW1tT9FCm4lBbMF/CqsEsCpe/fu3aMCOY4j"
    "zc3Nmw6ira2NhMNhEcjw8PAXAE4JOiVdIVIg4podQK1SqeywWq3iMs3v95P6+vpNA2E0GonfLy6FyMzMzIRCoegQrJHyml1q"
    "FTUAPQBjXV3dL91u9woV7vP5NsUybW1tESBWVlaWDx069AsARkGXlHdRKBBxXwvAfgBnWlpa+r1er0fqZmazOW4ASIdzc3OJ"
    "xWKJcCePx+Npamq6CuA0+EiV9r4WBZMDfndPA+AQgLNnzpz5fHl5Wdz/FUxPzp07R+RyedoA5HI56ezs3JDx3W63u6Wl5VcA"
    "zgpta5DBTiMFIu79gs+ktQA+qamp+WxycnKGRNHk5CTp6+sjBoMhKYDKykpy9erViGRHaWJiYrq6uvozAJ8AOCK0Tfd+4x7+"
    "JEJHK+WAN6kavHl3KhSK0sHBwZbz58+f3bp1a250RafTKR70eL1eAEBBQYF40KPVajc0FggEAsPDw192dXV9yXHcEoBvAfwT"
    "gAcAC/68kXZG2hRxtABgN4CDAE4C+LS6urrv0aNHL1iWZTd0bYrEsiz78OHD51VVVVcA/ATADwEcALALaRwppOJv0WeHKvDW"
    "2UFZo9GU9Pb2fr+hoeHwvn37ynNzc5lEAlmWDVqt1rlnz57949atW38T1hhuACsA/gVgFYAfQBD8qW9SS2R0hgje1VTge2y7"
    "AKwAgIphGFVjY6PuyJEjGo1Go1apVAwA+P1+1uVyrY6NjbmePn26EAwG/YKyHkHxVeHeJwBI6wwxnQhAy9Kj6S0CoDwBFOU8"
    "8JZTInKTIAzez9cFRdcEIJTXwI+FkFCOnrunNCYy2WSQWkchAFIKylNWCu8VUUA4QVEKhvK68J7+PJD2oM50tyTenw8K8Fag"
    "9/Q7BUIEZTm8/+tB+ucDVT7tyJTtts+H+BeFRH3PWpFs6aP+HfQ/Q/8GSptMWatmEwoAAAAASUVORK5CYII=";

// 54 × 54: white triangle pointing left, dark edge along its upper side; 564 bytes of PNG.
const char kGADIntrinsicBrowserBackButtonPNGBase64[] =
    "iVBORw0KGgoAAAANSUhEUgAAADYAAAA2CAYAAACMRWrdAAAABmJLR0QA/wD/AP+gvaeTAAAB6UlEQVRoge3WsWtTUQBG8dO0"
    "jbQItS5GOwkSEZyyZFLBoSioi3Rw6RhwchIymq1UHJxECg6NPjEUXApacHHRInUQkeIUJ5E6WIIQTZsehxJwqNj0BfLyuL8/"
    "4PIduFwuBEEQBEEQBMHgOAbcjnvISA+G9Moh4ApwDRiNe1gm9pzeKAB3geuFQmFydXX1fL8HxXUcKAPRxMTEs4WFhY+tVmtb"
    "td/DDmocuAEsAlGpVHq9sbHx07/0eV/XhoBzwAMgKhaLy2tra1/dQ593duUkUAGiXC63VK1WP21tbbX3ihqUsMPALPA4k8lE"
    "5XL57ebmZvNfQYMQNgxcBB4C0fT09Iv19fXv/wtKetgZYA6Ipqamlmq12ud2u72z36gkhk0CN4En2Wz2aaVSeddoNH51E5S0"
    "sGHgEvAIiGZmZl7V6/UfBwlKUthZdn8NUT6ff76yslLf2enq1iU3bGxs7N78/Pz7ZrPZil3Uo7DYn2A1B1xm98FIjKR8gpNJ"
    "HVVvqY2kXMWeUk+oi2rs16PfLXtSL6gfUhcGoI6oJXXf36iBCOtQj6r31e1UhXWoBfVN6sIA1CF1Vv2WqrAO9Yg6p/5OVViH"
    "elp9mbqwDvWq+iV1YQDquHpHbaYqrEM9pS73e0cQBEEQBEEQBEnxB6mrF6FBDNpYAAAAAElFTkSuQmCC";

// 54 × 54: the back button mirrored, pointing right; 593 bytes of PNG.
const char kGADIntrinsicBrowserForwardButtonPNGBase64[] =
    "iVBORw0KGgoAAAANSUhEUgAAADYAAAA2CAYAAACMRWrdAAAABmJLR0QA/wD/AP+gvaeTAAACBklEQVRoge3Yv2sTYQDG8a9R"
    "AxEh1sVoJkEiglOWTCqoBBcnyeDSMSAITkJGs5UUByeRgEOjFYPgUtCAi4sGiYOIBhfjJJIOhiCcJk0eh+tBWy7kx1152/B+"
    "/oCX58t7kMuBZVmWZVmWZe2eu8AJ0yN2OhjCGbeBK5tnfQcGIZwZWCToAfV6/WI6nV4AbgDLQDrwqr1Aknq93ka5XP4cj8ef"
    "A6tAAThpeFow2qLdbv/J5/NvceNWgJvAEbMLZyQfjUbjZyaTWcMNfAhcAA6YXTolvzBJ6vf7g0ql8iWRSLzADSwCpw3Pndyo"
    "ME+n03EKhcL7SCSyCjwBFoGjhmePNy7M02w217PZ7Cvc23sEXCacn5vdMWmYJA0Gg2G1Wv2WTCa9x3MJOGc4wd80YZ5ut/u3"
    "WCx+iEajz4CnwC1gwXDKdrOEeVqt1u9cLvcG9/YeA9fYK49nkDBJGg6HqtVqrVQq9RI3cBk4bzgreJjHcZxeqVT6GIvF7s9V"
    "2BZfJV0NuivwS/DcCvGmupLuSDpsugkIJWwoaUXSKdMt2wSM+iTpkukGXzMGrUvKSzpkev9IUwZtSHog6bjp3WNNEfVO0v75"
    "bDBB0C9Ji5Lm44+mpH+SliQdM71xJiOiXks6a3pbIDuCfki6bnpTKDaDHEn3JO3PL1J+JK1JOmN6h2VZlmVZlmVZ8+o/+15s"
    "wFZOJ3wAAAAASUVORK5CYII=";
