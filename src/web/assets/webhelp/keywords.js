// The index pane: the .hhk keywords, filtered as the reader types. A keyword
// with one page opens it; one with several lists their titles to choose from.
(function () {
  'use strict';
  var help = window.QuorvexHelp = window.QuorvexHelp || {};
  var rows = [];  // {item, folded, parent} for every keyword, in order

  function pageLink(page, text) {
    var link = document.createElement('a');
    link.href = help.hrefFor(page);
    link.textContent = text;
    return link;
  }

  function missingNote(entry) {
    var note = document.createElement('span');
    note.className = 'label missing';
    note.textContent = entry.n;
    note.title = help.word('missingPage', entry.x.join(', '));
    return note;
  }

  // The keyword's button and the list of its pages, which the button shows and hides.
  function chooser(entry, item) {
    var button = document.createElement('button');
    button.type = 'button';
    button.className = 'label several';
    button.textContent = entry.n;
    button.setAttribute('aria-expanded', 'false');
    var choices = document.createElement('ul');
    choices.className = 'choices';
    choices.hidden = true;
    choices.setAttribute('aria-label', help.word('topicsOf', entry.n));
    entry.p.forEach(function (page) {
      var choice = document.createElement('li');
      choice.appendChild(pageLink(page, help.pageTitle(page)));
      choices.appendChild(choice);
    });
    button.addEventListener('click', function () {
      var open = choices.hidden;
      choices.hidden = !open;
      button.setAttribute('aria-expanded', open ? 'true' : 'false');
      if (open) choices.querySelector('a').focus();
    });
    item.appendChild(button);
    item.appendChild(choices);
  }

  function build(entries, list, parent) {
    entries.forEach(function (entry) {
      var item = document.createElement('li');
      if (entry.p.length > 1) {
        chooser(entry, item);
      } else if (entry.p.length === 1) {
        var link = pageLink(entry.p[0], entry.n);
        link.className = 'label';
        item.appendChild(link);
      } else if (entry.x) {
        item.appendChild(missingNote(entry));
      } else {
        var heading = document.createElement('span');
        heading.className = 'label heading';
        heading.textContent = entry.n;
        item.appendChild(heading);
      }
      var row = { item: item, folded: help.fold(entry.n), parent: parent };
      rows.push(row);
      if (entry.c) {
        var children = document.createElement('ul');
        build(entry.c, children, row);
        item.appendChild(children);
      }
      list.appendChild(item);
    });
  }

  // A keyword shows when it or its heading holds the text, a heading also
  // when one of its keywords does.
  function filter(text, empty) {
    var wanted = help.fold(text.trim());
    var shown = 0;
    rows.forEach(function (row) { row.match = wanted === '' || row.folded.indexOf(wanted) >= 0; });
    rows.forEach(function (row) {
      if (row.match && row.parent) row.parent.childMatch = true;
    });
    rows.forEach(function (row) {
      var visible = row.match || row.childMatch || (row.parent && row.parent.match);
      row.item.hidden = !visible;
      row.childMatch = false;
      if (visible) shown++;
    });
    empty.hidden = shown > 0;
  }

  // Enter in the filter opens the first keyword shown, as far as it leads to one page.
  function openFirst() {
    for (var i = 0; i < rows.length; i++) {
      if (rows[i].item.hidden) continue;
      var first = rows[i].item.querySelector('.label');
      if (first && (first.tagName === 'A' || first.tagName === 'BUTTON')) first.click();
      return;
    }
  }

  help.keywords = {
    build: function (list, input, empty) {
      build(help.data.index, list, null);
      if (rows.length === 0) {
        empty.textContent = help.word('noKeywords');
        empty.hidden = false;
        input.disabled = true;
        return;
      }
      input.addEventListener('input', function () { filter(input.value, empty); });
      input.addEventListener('keydown', function (event) {
        if (event.key === 'Enter') {
          event.preventDefault();
          openFirst();
        }
      });
    }
  };
})();
