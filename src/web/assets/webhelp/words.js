// The viewer's words in the help's language: the converter wrote them into
// index.html (#viewer-words) from its table for that language.
(function () {
  'use strict';
  var help = window.QuorvexHelp = window.QuorvexHelp || {};
  var words = {};
  try {
    words = JSON.parse(document.getElementById('viewer-words').textContent);
  } catch (e) { /* the keys themselves stand in */ }

  // The word of `key`, with `value` in place of its "{0}".
  help.word = function (key, value) {
    var text = typeof words[key] === 'string' ? words[key] : key;
    return value === undefined ? text : text.split('{0}').join(String(value));
  };
})();
