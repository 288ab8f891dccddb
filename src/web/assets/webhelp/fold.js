// The form in which the index filter and the search compare text, the same
// as the converter's SearchFold (src/web/SearchIndex.cpp), which built the
// search index with it: ASCII letters lower-cased, full-width ASCII as ASCII,
// the ideographic space as a blank, half-width katakana as full-width. Each
// UTF-16 unit folds to one unit, so a place in folded text is the same place
// in the original.
(function () {
  'use strict';
  var help = window.QuorvexHelp = window.QuorvexHelp || {};
  var katakana = '。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜';

  function foldUnit(code) {
    if (code >= 0xFF01 && code <= 0xFF5E) code -= 0xFEE0;
    if (code >= 0x41 && code <= 0x5A) return String.fromCharCode(code + 0x20);
    if (code === 0x3000) return ' ';
    if (code >= 0xFF61 && code <= 0xFF9F) return katakana.charAt(code - 0xFF61);
    return String.fromCharCode(code);
  }

  help.fold = function (text) {
    var out = '';
    for (var i = 0; i < text.length; i++) out += foldUnit(text.charCodeAt(i));
    return out;
  };
})();
