// The search pane: full-text search over the pages' titles, keywords and text
// with the index the converter built (search-data.js). Every pair of adjacent
// characters of a search word must be in a page's index entry before the
// page's title, keywords and text are read, so Japanese words are found
// without a dictionary.
(function () {
  'use strict';
  var help = window.QuorvexHelp = window.QuorvexHelp || {};
  var folded = { texts: [], titles: [], keys: [] };

  function foldedOnce(kind, i, original) {
    if (folded[kind][i] === undefined) folded[kind][i] = help.fold(original());
    return folded[kind][i];
  }
  function foldedText(i) { return foldedOnce('texts', i, function () { return help.searchData.texts[i]; }); }
  function foldedTitle(i) { return foldedOnce('titles', i, function () { return help.data.pages[i].t; }); }
  function foldedKeys(i) { return foldedOnce('keys', i, function () { return (help.searchData.keys || [])[i] || ''; }); }

  function intersect(a, b) {
    var out = [];
    for (var i = 0, j = 0; i < a.length && j < b.length;) {
      if (a[i] === b[j]) { out.push(a[i]); i++; j++; } else if (a[i] < b[j]) i++; else j++;
    }
    return out;
  }

  // Pages whose index holds every character pair of the words; all pages when
  // no word is long enough to have one.
  function candidates(words) {
    var pages = null;
    words.forEach(function (word) {
      var chars = Array.from(word);
      for (var i = 0; i + 1 < chars.length; i++) {
        var holding = help.searchData.grams[chars[i] + chars[i + 1]] || [];
        pages = pages === null ? holding.slice() : intersect(pages, holding);
      }
    });
    if (pages !== null) return pages;
    return help.data.pages.map(function (page, i) { return i; });
  }

  function count(text, word) {
    var n = 0;
    for (var at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + word.length)) n++;
    return n;
  }

  // Pages holding every word in their title, keywords or text: those with
  // more of the words in their title first, then more in their keywords,
  // then by how often the words occur in the text.
  function find(query) {
    var words = help.fold(query).split(/\s+/).filter(function (word) { return word !== ''; });
    if (words.length === 0) return [];
    var hits = [];
    candidates(words).forEach(function (i) {
      var hit = { page: i, inTitle: 0, inKeys: 0, inText: 0, word: words[0] };
      for (var w = 0; w < words.length; w++) {
        var inTitle = foldedTitle(i).indexOf(words[w]) >= 0, inKeys = foldedKeys(i).indexOf(words[w]) >= 0;
        var inText = count(foldedText(i), words[w]);
        if (!inTitle && !inKeys && inText === 0) return;
        hit.inTitle += inTitle ? 1 : 0;
        hit.inKeys += inKeys ? 1 : 0;
        hit.inText += inText;
      }
      hits.push(hit);
    });
    return hits.sort(function (a, b) {
      return b.inTitle - a.inTitle || b.inKeys - a.inKeys || b.inText - a.inText || a.page - b.page;
    });
  }

  // Some text around the word's first place in the page, the word marked.
  function snippet(hit) {
    var original = help.searchData.texts[hit.page];
    var at = foldedText(hit.page).indexOf(hit.word);
    var element = document.createElement('p');
    element.className = 'snippet';
    if (at < 0) {
      element.textContent = original.slice(0, 80);
      return element;
    }
    var start = Math.max(0, at - 30), end = Math.min(original.length, at + hit.word.length + 50);
    var mark = document.createElement('mark');
    mark.textContent = original.slice(at, at + hit.word.length);
    element.appendChild(document.createTextNode((start > 0 ? '…' : '') + original.slice(start, at)));
    element.appendChild(mark);
    element.appendChild(document.createTextNode(original.slice(at + hit.word.length, end) + (end < original.length ? '…' : '')));
    return element;
  }

  function show(query, results, status) {
    results.textContent = '';
    if (query.trim() === '') {
      status.textContent = '';
      return;
    }
    var hits = find(query);
    status.textContent = hits.length === 0 ? help.word('notFound') : hits.length === 1 ? help.word('foundOne') : help.word('foundMany', hits.length);
    hits.forEach(function (hit) {
      var item = document.createElement('li');
      var page = help.data.pages[hit.page];
      var link = document.createElement('a');
      link.href = help.hrefFor(page.f);
      link.textContent = page.t;
      item.appendChild(link);
      item.appendChild(snippet(hit));
      results.appendChild(item);
    });
  }

  help.search = {
    find: find,
    build: function (form, input, results, status) {
      if (!help.searchData) {
        status.textContent = help.word('noSearchData');
        input.disabled = true;
        return;
      }
      var timer = null;
      form.addEventListener('submit', function (event) {
        event.preventDefault();
        clearTimeout(timer);
        show(input.value, results, status);
      });
      input.addEventListener('input', function () {
        clearTimeout(timer);
        timer = setTimeout(function () { show(input.value, results, status); }, 250);
      });
    }
  };
})();
