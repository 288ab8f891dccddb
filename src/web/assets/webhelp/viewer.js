// The viewer: tabs, the page frame, and the address. The address's fragment
// names the page on show (index.html#page.html), so a link can point at a
// page and the browser's back and forward walk the pages read. Pages loaded
// from file:// are of another origin than the viewer, so the two talk only
// through messages (page.js sends them). On a narrow screen the page has the
// window, and the bar's buttons lay the contents, index or search over it.
(function () {
  'use strict';
  var help = window.QuorvexHelp = window.QuorvexHelp || {};
  var titles = {};  // page file -> title
  var files = {};   // lower-cased page file -> page file
  var frame, notice;
  var shown = null;

  help.pageTitle = function (page) { return titles[page] || page; };
  help.hrefFor = function (page) { return '#' + encodeURIComponent(page); };

  function known(name) { return files[name.toLowerCase()] || null; }

  function requestedPage() {
    var name = location.hash.slice(1);
    try { name = decodeURIComponent(name); } catch (e) { /* kept as written */ }
    return name;
  }

  function tell(text) {
    notice.textContent = text;
    notice.hidden = !text;
  }

  // Lays the navigation over the page (narrow screens) or takes it away.
  function showNavigation(open) {
    document.body.classList.toggle('navigation-open', open);
    document.querySelectorAll('.nav-buttons button').forEach(function (button) {
      var selected = document.getElementById(button.dataset.tab).getAttribute('aria-selected') === 'true';
      button.setAttribute('aria-expanded', open && selected ? 'true' : 'false');
    });
  }

  function navigationOpen() { return document.body.classList.contains('navigation-open'); }

  function load(page) {
    shown = page;
    showNavigation(false);
    frame.contentWindow.location.replace('html/' + encodeURIComponent(page));
    help.contents.mark(page);
  }

  // Shows the page the address names; an unknown name leaves a note and shows
  // the default page, so no address can load anything from elsewhere. Each
  // history entry the viewer has seen keeps its page in its state: going back
  // or forward to one, the browser itself brings the frame back to the page it
  // showed then, and a second navigation here would only cut that one short.
  function follow(first) {
    var name = requestedPage();
    var page = name ? known(name) : help.data.defaultPage;
    tell(name && !page ? help.word('unknownPage', name) : '');
    if (!page) page = help.data.defaultPage;
    if (!page) return;
    var state = history.state;
    if (first !== true && state && state.page === page) {
      shown = page;
      help.contents.mark(page);
      return;
    }
    history.replaceState({ page: page }, '', location.href);
    if (page !== shown) load(page);
  }

  help.open = function (name) {
    var page = known(name);
    if (!page) {
      tell(help.word('unknownPage', name));
      return;
    }
    tell('');
    if (page === shown && requestedPage() === page) return;
    history.pushState({ page: page }, '', help.hrefFor(page));
    load(page);
  };

  function onMessage(event) {
    if (event.source !== frame.contentWindow || !event.data || typeof event.data !== 'object') return;
    var message = event.data;
    if (message.quorvex === 'open' && typeof message.page === 'string') {
      help.open(message.page);
    } else if (message.quorvex === 'page' && typeof message.page === 'string') {
      var page = known(message.page);
      if (!page) return;
      // The page may have come by a way the viewer did not choose (a form, a
      // script): the address follows it without a new history entry.
      if (page !== shown) {
        shown = page;
        history.replaceState({ page: page }, '', help.hrefFor(page));
      }
      help.contents.mark(page);
      document.title = (titles[page] || page) + ' - ' + help.data.title;
    }
  }

  function selectTab(tab, focus) {
    document.querySelectorAll('[role=tab]').forEach(function (other) {
      var selected = other === tab;
      other.setAttribute('aria-selected', selected ? 'true' : 'false');
      other.tabIndex = selected ? 0 : -1;
      document.getElementById(other.getAttribute('aria-controls')).hidden = !selected;
    });
    if (focus) tab.focus();
    var field = document.getElementById(tab.getAttribute('aria-controls')).querySelector('input');
    if (field && !focus) field.focus();
    if (navigationOpen()) showNavigation(true);  // the bar's buttons follow the tab
  }

  function buildTabs() {
    var tabs = Array.prototype.slice.call(document.querySelectorAll('[role=tab]'));
    tabs.forEach(function (tab, i) {
      tab.addEventListener('click', function () { selectTab(tab, false); });
      tab.addEventListener('keydown', function (event) {
        var step = event.key === 'ArrowRight' ? 1 : event.key === 'ArrowLeft' ? -1 : 0;
        if (step === 0) return;
        event.preventDefault();
        selectTab(tabs[(i + step + tabs.length) % tabs.length], true);
      });
    });
  }

  // Each button of the bar opens the navigation at its tab; the button of the
  // tab on show closes it again. Esc closes it, and so does choosing a page.
  function buildNavigationButtons() {
    document.querySelectorAll('.nav-buttons button').forEach(function (button) {
      var tab = document.getElementById(button.dataset.tab);
      button.addEventListener('click', function () {
        if (navigationOpen() && button.getAttribute('aria-expanded') === 'true') {
          showNavigation(false);
          return;
        }
        document.body.classList.add('navigation-open');  // the tab's field can take the focus only when shown
        selectTab(tab, false);
      });
    });
    document.addEventListener('keydown', function (event) {
      if (event.key === 'Escape' && navigationOpen()) showNavigation(false);
    });
    document.getElementById('side').addEventListener('click', function (event) {
      if (event.target instanceof Element && event.target.closest('a[href]')) showNavigation(false);
    });
  }

  function start() {
    frame = document.getElementById('page-frame');
    notice = document.getElementById('notice');
    if (!help.data) {
      tell(help.word('noData'));
      document.body.dataset.viewer = 'failed';
      return;
    }
    help.data.pages.forEach(function (page) {
      titles[page.f] = page.t;
      files[page.f.toLowerCase()] = page.f;
    });
    document.getElementById('help-title').textContent = help.data.title;
    document.title = help.data.title;
    buildTabs();
    buildNavigationButtons();
    help.contents.build(document.getElementById('contents-tree'));
    help.keywords.build(document.getElementById('index-list'), document.getElementById('index-filter'),
                        document.getElementById('index-empty'));
    help.search.build(document.getElementById('search-form'), document.getElementById('search-input'),
                      document.getElementById('search-results'), document.getElementById('search-status'));
    window.addEventListener('message', onMessage);
    window.addEventListener('hashchange', follow);
    follow(true);
    document.body.dataset.viewer = 'ready';
  }

  start();
})();
