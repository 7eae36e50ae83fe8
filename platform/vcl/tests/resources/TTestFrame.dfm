object TestFrame: TTestFrame
  Left = 0
  Top = 0
  Width = 200
  Height = 60
  TabOrder = 0
  object Go: TButton
    Left = 8
    Top = 8
    Width = 75
    Height = 25
    Caption = 'Go'
    TabOrder = 0
    OnClick = GoClick
  end
end
